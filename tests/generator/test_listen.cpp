#include <map>
#include <sstream>

#include "DurchlaufTestbasis.h"
#include "generator/Listen.h"

namespace mosaik {
namespace {

// "name=zahl ...": the number is the size and, cut to 32 bits, the date.
TDateiArray bilder(const std::string& text) {
  TDateiArray l;
  std::istringstream in(text);
  for (std::string t; in >> t;) {
    TDateieintrag e;
    e.Name = t.substr(0, t.find('='));
    e.Groesse = t.find('=') == std::string::npos ? 0 : std::stoll(t.substr(t.find('=') + 1), nullptr, 0);
    e.Datum = static_cast<uint32_t>(e.Groesse);
    l.push_back(e);
  }
  return l;
}

TVerzeichnisArray ordner(const std::string& text) {
  TVerzeichnisArray l;
  for (const auto& e : bilder(text)) l.push_back({e.Name, e.Name, e.Datum});
  return l;
}

template <typename Liste>
std::string namen(const Liste& l) {
  std::string s;
  for (const auto& e : l) s += (s.empty() ? "" : " ") + e.Name;
  return s;
}

enum class Art { DateiName, DateiDatum, DateiGroesse, DateiUmkehren, OrdnerName, OrdnerDatum, OrdnerUmkehren };

TEST(Listen, SortierenUndUmkehrenInBereichen) {
  const struct {
    Art art;
    const char* liste;
    int von, bis;
    const char* erwartet;
  } faelle[] = {
      // Names by bytes: an umlaut after every ASCII letter, a prefix before
      // its longer names.
      {Art::DateiName, "B.jpg a.jpg A.jpg", 0, 2, "A.jpg B.jpg a.jpg"},
      {Art::DateiName, "äpfel.jpg zebra.jpg Zebra.jpg ab abc a", 0, 5, "Zebra.jpg a ab abc zebra.jpg äpfel.jpg"},
      {Art::DateiName, "", 0, -1, ""},
      {Art::OrdnerName, "x Urlaub urlaub Ägypten Berlin", 1, 4, "x Berlin Urlaub urlaub Ägypten"},
      // Not stable: worked through by hand, pivot 2 at index 2, swaps (0,4)
      // and (2,3), then the left part 0..2 with pivot 1 and the right part
      // 3..4. A stable sort would give B D A C E.
      {Art::DateiDatum, "A=2 B=1 C=2 D=1 E=2", 0, 4, "D B E A C"},
      {Art::OrdnerDatum, "A=2 B=1 C=2 D=1 E=2", 0, 4, "D B E A C"},
      // Dates are compared unsigned: a date from 2044 on has the top bit set.
      {Art::OrdnerDatum, "spaet=0x80210000 frueh=0x7FFFFFFF alt=0x00210000", 0, 2, "alt frueh spaet"},
      {Art::DateiGroesse, "gross=5000000000 klein=1 mittel=2147483648", 0, 2, "klein mittel gross"},
      // Only the given run of the list.
      {Art::OrdnerDatum, "a=4 b=3 c=2 d=1 e=0", 2, 3, "a b d c e"},
      {Art::OrdnerName, "e d c b a", 3, 3, "e d c b a"},
      {Art::OrdnerName, "e d c b a", 4, 3, "e d c b a"},
      {Art::OrdnerUmkehren, "a b d c e", 1, 3, "a c d b e"},  // odd count: the middle stays
      {Art::OrdnerUmkehren, "a c d b e", 3, 4, "a c d e b"},
      {Art::OrdnerUmkehren, "a c d e b", 2, 2, "a c d e b"},
      {Art::OrdnerUmkehren, "a c d e b", 0, 9, "b e d c a"},  // clipped to the list
      {Art::DateiUmkehren, "D B E A C", 0, 0, "C A E B D"},
      {Art::DateiUmkehren, "", 0, 0, ""},
      {Art::DateiUmkehren, "x", 0, 0, "x"},
      {Art::DateiUmkehren, "x y", 0, 0, "y x"},
  };
  using D = TDateiArray;
  using O = TVerzeichnisArray;
  using Op = void (*)(D&, O&, int, int);
  const std::map<Art, Op> ops = {
      {Art::DateiName, [](D& d, O&, int v, int b) { DateilisteNachNameSortieren(v, b, d); }},
      {Art::DateiDatum, [](D& d, O&, int v, int b) { DateilisteNachZahlSortieren(true, v, b, d); }},
      {Art::DateiGroesse, [](D& d, O&, int v, int b) { DateilisteNachZahlSortieren(false, v, b, d); }},
      {Art::DateiUmkehren, [](D& d, O&, int, int) { DateilisteUmkehren(d); }},
      {Art::OrdnerName, [](D&, O& o, int v, int b) { OrdnerlisteNachNameSortieren(o, v, b); }},
      {Art::OrdnerDatum, [](D&, O& o, int v, int b) { OrdnerlisteNachDatumSortieren(o, v, b); }},
      {Art::OrdnerUmkehren, [](D&, O& o, int v, int b) { OrdnerlisteUmkehren(o, v, b); }},
  };
  for (const auto& f : faelle) {
    auto d = bilder(f.liste);
    auto o = ordner(f.liste);
    ops.at(f.art)(d, o, f.von, f.bis);
    EXPECT_EQ(f.art < Art::OrdnerName ? namen(d) : namen(o), f.erwartet) << f.liste;
  }
}

TEST(Listen, ZahlvergleicheUeber32Bit) {
  const auto l = bilder("klein=1 mittel=2147483648 gross=5000000000");
  EXPECT_TRUE(DateieintragKleiner(l, 0, 2, false));
  EXPECT_FALSE(DateieintragKleiner(l, 1, 2'147'483'648, false));
  EXPECT_TRUE(DateieintragGroesser(l, 2, 4'999'999'999, false));
  // By date the third one is 5000000000 - 2^32 = 705032704.
  EXPECT_TRUE(DateieintragKleiner(l, 2, 705'032'705, true));
}

TEST(Listen, DoppelteEntfernen) {
  auto o = ordner("a b a a c b");
  int high = 5;
  OrdnerlisteDoppelteEntfernen(o, high, 2);  // entries before 2 are another folder's
  EXPECT_EQ(namen(o), "a b a c b");
  EXPECT_EQ(high, 4);
  OrdnerlisteDoppelteEntfernen(o, high, 0);
  EXPECT_EQ(namen(o), "a b c");
  EXPECT_EQ(high, 2);

  auto l = bilder("x=1 x=2 x=3 X=4 y=5 x=6");
  DateilisteDoppelteEntfernen(l);
  EXPECT_EQ(namen(l), "x X y");
  EXPECT_EQ(l[0].Datum, 1u);  // the first one stays
}

using ListenOptionen = test::MitOptionen;

TEST_F(ListenOptionen, BildsortierungNachOptionen) {
  // Sizes 1, 3, 2 and dates 30, 10, 20.
  TDateiArray gemischt = bilder("c=1 a=3 b=2");
  gemischt[0].Datum = 30;
  gemischt[1].Datum = 10;
  gemischt[2].Datum = 20;
  const struct {
    Opt nach;
    bool sortieren, absteigend;
    const char* erwartet;
  } faelle[] = {
      {Opt::RBDateienSortierenNachName, true, false, "a b c"},
      {Opt::RBDateienSortierenNachName, true, true, "c b a"},
      {Opt::RBDateienSortierenNachGroesse, true, true, "a b c"},
      {Opt::RBDateienSortierenNachDatum, true, false, "a b c"},
      // Without sorting the listing order stays, even with "absteigend".
      {Opt::RBDateienSortierenNachDatum, false, true, "c a b"},
  };
  for (const auto& f : faelle) {
    m.setChecked(f.nach, true);
    m.setChecked(Opt::CBDateienSortieren, f.sortieren);
    m.setChecked(Opt::CBDSortRueckwaerts, f.absteigend);
    auto l = gemischt;
    DateilisteNachOptionenSortieren(k, l);
    EXPECT_EQ(namen(l), f.erwartet) << static_cast<int>(f.nach) << f.absteigend;
  }
}

}  // namespace
}  // namespace mosaik
