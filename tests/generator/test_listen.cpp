#include <initializer_list>
#include <utility>

#include "DurchlaufTestbasis.h"
#include "generator/Listen.h"

namespace mosaik {
namespace {

TDateiArray bilder(std::initializer_list<std::pair<const char*, int64_t>> eintraege, bool alsDatum) {
  TDateiArray l;
  for (const auto& [name, zahl] : eintraege) {
    TDateieintrag e;
    e.Name = name;
    if (alsDatum)
      e.Datum = static_cast<uint32_t>(zahl);
    else
      e.Groesse = zahl;
    l.push_back(e);
  }
  return l;
}

template <typename Liste>
std::string namen(const Liste& l) {
  std::string s;
  for (const auto& e : l) s += (s.empty() ? "" : " ") + e.Name;
  return s;
}

TVerzeichnisArray ordner(std::initializer_list<std::pair<const char*, uint32_t>> eintraege) {
  TVerzeichnisArray l;
  for (const auto& [name, datum] : eintraege) l.push_back({name, name, datum});
  return l;
}

TEST(Listen, NamenNachBytesOhneStabilitaet) {
  auto l = bilder({{"B.jpg", 0}, {"a.jpg", 0}, {"A.jpg", 0}}, true);
  DateilisteNachNameSortieren(0, 2, l);
  EXPECT_EQ(namen(l), "A.jpg B.jpg a.jpg");

  // An umlaut sorts after every ASCII letter, a prefix before its longer
  // names.
  l = bilder({{"äpfel.jpg", 0}, {"zebra.jpg", 0}, {"Zebra.jpg", 0}, {"ab", 0}, {"abc", 0}, {"a", 0}}, true);
  DateilisteNachNameSortieren(0, 5, l);
  EXPECT_EQ(namen(l), "Zebra.jpg a ab abc zebra.jpg äpfel.jpg");

  auto o = ordner({{"x", 0}, {"Urlaub", 0}, {"urlaub", 0}, {"Ägypten", 0}, {"Berlin", 0}});
  OrdnerlisteNachNameSortieren(o, 1, 4);
  EXPECT_EQ(namen(o), "x Berlin Urlaub urlaub Ägypten");
}

TEST(Listen, GleicheDatenFolgenDerZerlegung) {
  // Worked through by hand: pivot 2 at index 2, swaps (0,4) and (2,3), then
  // the left part 0..2 with pivot 1 and the right part 3..4.
  auto l = bilder({{"A", 2}, {"B", 1}, {"C", 2}, {"D", 1}, {"E", 2}}, true);
  DateilisteNachZahlSortieren(true, 0, 4, l);
  EXPECT_EQ(namen(l), "D B E A C");  // a stable sort would give B D A C E
  DateilisteUmkehren(l);
  EXPECT_EQ(namen(l), "C A E B D");

  auto o = ordner({{"A", 2}, {"B", 1}, {"C", 2}, {"D", 1}, {"E", 2}});
  OrdnerlisteNachDatumSortieren(o, 0, 4);
  EXPECT_EQ(namen(o), "D B E A C");

  // Dates are compared unsigned: a date from 2044 on has the top bit set.
  o = ordner({{"spaet", 0x80210000u}, {"frueh", 0x7FFFFFFFu}, {"alt", 0x00210000u}});
  OrdnerlisteNachDatumSortieren(o, 0, 2);
  EXPECT_EQ(namen(o), "alt frueh spaet");

  // Sizes beyond 32 bits.
  l = bilder({{"gross", 5'000'000'000}, {"klein", 1}, {"mittel", 2'147'483'648}}, false);
  DateilisteNachZahlSortieren(false, 0, 2, l);
  EXPECT_EQ(namen(l), "klein mittel gross");
  EXPECT_TRUE(DateieintragKleiner(l, 0, 2, false));
  EXPECT_FALSE(DateieintragKleiner(l, 1, 2'147'483'648, false));
  EXPECT_TRUE(DateieintragGroesser(l, 2, 4'999'999'999, false));
  EXPECT_FALSE(DateieintragGroesser(l, 0, 1, true));
}

TEST(Listen, BereicheUndUmkehren) {
  auto o = ordner({{"a", 4}, {"b", 3}, {"c", 2}, {"d", 1}, {"e", 0}});
  OrdnerlisteNachDatumSortieren(o, 2, 3);  // only this folder's run
  EXPECT_EQ(namen(o), "a b d c e");
  OrdnerlisteNachNameSortieren(o, 3, 3);  // a single entry
  OrdnerlisteNachNameSortieren(o, 4, 3);  // an empty range
  EXPECT_EQ(namen(o), "a b d c e");
  OrdnerlisteUmkehren(o, 1, 3);  // odd count: the middle stays
  EXPECT_EQ(namen(o), "a c d b e");
  OrdnerlisteUmkehren(o, 3, 4);
  EXPECT_EQ(namen(o), "a c d e b");
  OrdnerlisteUmkehren(o, 2, 2);
  OrdnerlisteUmkehren(o, 0, 9);  // clipped to the list
  EXPECT_EQ(namen(o), "b e d c a");

  TDateiArray leer;
  DateilisteUmkehren(leer);
  DateilisteNachNameSortieren(0, -1, leer);
  EXPECT_TRUE(leer.empty());
  auto eins = bilder({{"x", 1}}, true);
  DateilisteUmkehren(eins);
  EXPECT_EQ(namen(eins), "x");
  auto zwei = bilder({{"x", 1}, {"y", 2}}, true);
  DateilisteUmkehren(zwei);
  EXPECT_EQ(namen(zwei), "y x");
}

TEST(Listen, DoppelteEntfernen) {
  auto o = ordner({{"a", 0}, {"b", 0}, {"a", 0}, {"a", 0}, {"c", 0}, {"b", 0}});
  int high = 5;
  OrdnerlisteDoppelteEntfernen(o, high, 2);  // entries before 2 are another folder's
  EXPECT_EQ(namen(o), "a b a c b");
  EXPECT_EQ(high, 4);
  OrdnerlisteDoppelteEntfernen(o, high, 0);
  EXPECT_EQ(namen(o), "a b c");
  EXPECT_EQ(high, 2);

  auto l = bilder({{"x", 1}, {"x", 2}, {"x", 3}, {"X", 4}, {"y", 5}, {"x", 6}}, true);
  DateilisteDoppelteEntfernen(l);
  EXPECT_EQ(namen(l), "x X y");
  EXPECT_EQ(l[0].Datum, 1u);  // the first one stays
}

using ListenOptionen = test::MitOptionen;

TEST_F(ListenOptionen, BildsortierungNachOptionen) {
  const auto start = bilder({{"c", 0}, {"a", 0}, {"b", 0}}, true);
  auto l = start;
  l[0].Groesse = 1;
  l[1].Groesse = 3;
  l[2].Groesse = 2;
  l[0].Datum = 30;
  l[1].Datum = 10;
  l[2].Datum = 20;
  const auto gemischt = l;

  DateilisteNachOptionenSortieren(k, l);  // defaults: by name, ascending
  EXPECT_EQ(namen(l), "a b c");
  m.setChecked(Opt::CBDSortRueckwaerts, true);
  l = gemischt;
  DateilisteNachOptionenSortieren(k, l);
  EXPECT_EQ(namen(l), "c b a");
  m.setChecked(Opt::RBDateienSortierenNachGroesse, true);
  l = gemischt;
  DateilisteNachOptionenSortieren(k, l);
  EXPECT_EQ(namen(l), "a b c");  // sizes 3, 2, 1: descending
  m.setChecked(Opt::CBDSortRueckwaerts, false);
  m.setChecked(Opt::RBDateienSortierenNachDatum, true);
  l = gemischt;
  DateilisteNachOptionenSortieren(k, l);
  EXPECT_EQ(namen(l), "a b c");  // dates 10, 20, 30
  // Without sorting the listing order stays, even with "absteigend".
  m.setChecked(Opt::CBDateienSortieren, false);
  m.setChecked(Opt::CBDSortRueckwaerts, true);
  l = gemischt;
  DateilisteNachOptionenSortieren(k, l);
  EXPECT_EQ(namen(l), "c a b");
}

}  // namespace
}  // namespace mosaik
