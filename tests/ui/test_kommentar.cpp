#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <filesystem>

#include "../ui/RegelnTestbasis.h"
#include "app/options/AppState.h"
#include "generator/Verzeichnis.h"
#include "test_kommentar_basis.h"
#include "ui/KommentarForm.h"
#include "winsupport/FolderDialog.h"

namespace mosaik::test {
namespace {

namespace stdfs = std::filesystem;

struct Kommentareditor : Hauptform {
  TempOrdner ordner;
  TKommentarForm f{k};
  std::string pfad(const std::string& name) const { return ordner.pfad() + name; }
  void bild(const std::string& name, int w, int h, const std::string& kommentar = {}) {
    schreiben(pfad(name), jpegBytes(w, h, 200, 40, 30, kommentar));
  }
  void oeffnen() {
    st.BilderOrdnerPfad = ordner.pfad();
    f.Zeigen();
  }
  std::vector<std::string> namen() const {
    std::vector<std::string> n;
    for (const auto& e : f.Dateiliste) n.push_back(e.Name);
    return n;
  }
  // An old date, so that a kept date is told from a fresh one.
  void altesDatum(const std::string& name) {
    ASSERT_TRUE(fs::setDosDateTime(pfad(name), fs::toDosDateTime(988885230)));  // 2001-05-03
  }
};

int eintraege(const std::string& ordner) {
  int n = 0;
  for ([[maybe_unused]] const auto& e : stdfs::directory_iterator(ordner)) ++n;
  return n;
}

uint32_t pixel(const imaging::Bitmap& b, int x, int y) {
  const uint8_t* p = b.row(y) + static_cast<size_t>(x) * 3;
  return (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
}

bool nahe(uint32_t farbe, int r, int g, int b) {
  return std::abs(static_cast<int>(farbe >> 16) - r) <= 6 && std::abs(static_cast<int>((farbe >> 8) & 0xFF) - g) <= 6 &&
         std::abs(static_cast<int>(farbe & 0xFF) - b) <= 6;
}

TEST_F(Kommentareditor, ListetNurJpgUndJpegDateienDesOrdners) {
  bild("b.JPG", 8, 8);
  bild("a.jpeg", 8, 8);
  schreiben(pfad("c.png"), "png");
  schreiben(pfad("notiz.txt"), "text");
  bild(".versteckt.jpg", 8, 8);
  stdfs::create_directory(pfad("ordner.jpg"));
  bild("ordner.jpg/innen.jpg", 8, 8);
  bild("schutz.jpg", 8, 8);
  ::chmod(pfad("schutz.jpg").c_str(), 0444);
  m.setChecked(Opt::CBAttrSchreibschutz, false);  // plays no part here

  oeffnen();
  EXPECT_EQ(namen(), (std::vector<std::string>{"a.jpeg", "b.JPG", "schutz.jpg"}));
  EXPECT_EQ(f.KommentarOrdner, ordner.pfad());
  EXPECT_EQ(f.EdBilderPfad, ordner.pfad());
  const fs::Entry e = *fs::entryInfo(pfad("b.JPG"));
  EXPECT_EQ(f.Dateiliste[1].Groesse, e.size);
  EXPECT_EQ(f.Dateiliste[1].Datum, e.dosTime);
  EXPECT_FALSE(f.Dateiliste[1].Schreibgeschuetzt);
  EXPECT_TRUE(f.Dateiliste[2].Schreibgeschuetzt);
  EXPECT_FALSE(f.LHinterbildVisible);
  EXPECT_TRUE(f.BildfensterVisible);

  m.setChecked(Opt::CBTypJpg, false);
  f.BilderlisteEinlesen();
  EXPECT_EQ(namen(), (std::vector<std::string>{"a.jpeg"}));
  m.setChecked(Opt::CBTypJpg, true);
  m.setChecked(Opt::CBTypJpeg, false);
  m.setChecked(Opt::CBAttrVersteckt, true);
  f.BilderlisteEinlesen();
  EXPECT_EQ(namen(), (std::vector<std::string>{".versteckt.jpg", "b.JPG", "schutz.jpg"}));

  // A cancelled gallery run does not shorten the editor's list.
  AbbruchFlag = 1;
  f.BilderlisteEinlesen();
  EXPECT_EQ(f.Dateiliste.size(), 3u);
  AbbruchFlag = 0;
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(Kommentareditor, OhneBilderBleibtAllesLeerUndDieKnoepfeTunNichts) {
  schreiben(pfad("bild.png"), "png");
  f.MKommentar = "Rest";
  oeffnen();
  EXPECT_TRUE(f.Dateiliste.empty());
  EXPECT_TRUE(f.LHinterbildVisible);
  EXPECT_EQ(f.LHinterbild, "kein (JPG-)Bild vorhanden");
  EXPECT_FALSE(f.BildfensterVisible);
  EXPECT_EQ(f.MKommentar, "");
  EXPECT_EQ(f.LBildNr, "");
  EXPECT_EQ(f.LDateiname, "");
  f.MKommentar = "getippt";
  f.BitBWeiterClick();
  f.BitBzurueckClick();
  f.BitBAbbruchClick();
  EXPECT_EQ(f.AktuellesBild, 0);
  EXPECT_EQ(f.MKommentar, "getippt");
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(Kommentareditor, WeiterUndZurueckLaufenImKreis) {
  bild("1.jpg", 8, 8, "eins");
  bild("2.jpg", 8, 8, "zwei");
  bild("3.jpg", 8, 8, "drei");
  oeffnen();
  EXPECT_EQ(f.LBildNr, "1/3");
  EXPECT_EQ(f.LDateiname, "1.jpg");
  EXPECT_EQ(f.MKommentar, "eins");
  f.BitBzurueckClick();
  EXPECT_EQ(f.AktuellesBild, 2);
  EXPECT_EQ(f.LBildNr, "3/3");
  EXPECT_EQ(f.MKommentar, "drei");
  f.BitBWeiterClick();
  EXPECT_EQ(f.AktuellesBild, 0);
  EXPECT_EQ(f.LDateiname, "1.jpg");
  f.BitBWeiterClick();
  EXPECT_EQ(f.LBildNr, "2/3");
  EXPECT_EQ(f.MKommentar, "zwei");
}

TEST_F(Kommentareditor, BildWirdVerkleinertUndZentriertNieVergroessert) {
  bild("a.jpg", 100, 50);
  bild("b.jpg", 1000, 500);
  bild("c.jpg", 500, 1000);
  oeffnen();
  using L = TKommentarForm::Lage;
  EXPECT_EQ(f.Bild, (L{60, 85, 100, 50}));
  const uint32_t flaeche = f.Flaeche;
  EXPECT_EQ(pixel(f.Bildfenster, 59, 110), flaeche);
  EXPECT_EQ(pixel(f.Bildfenster, 110, 84), flaeche);
  EXPECT_EQ(pixel(f.Bildfenster, 160, 110), flaeche);
  EXPECT_TRUE(nahe(pixel(f.Bildfenster, 60, 85), 200, 40, 30));
  EXPECT_TRUE(nahe(pixel(f.Bildfenster, 159, 134), 200, 40, 30));
  f.BitBWeiterClick();
  EXPECT_EQ(f.Bild, (L{0, 55, 220, 110}));
  EXPECT_EQ(pixel(f.Bildfenster, 100, 54), flaeche);
  EXPECT_TRUE(nahe(pixel(f.Bildfenster, 0, 55), 200, 40, 30));
  EXPECT_TRUE(nahe(pixel(f.Bildfenster, 219, 164), 200, 40, 30));
  EXPECT_EQ(pixel(f.Bildfenster, 100, 165), flaeche);
  f.BitBWeiterClick();
  EXPECT_EQ(f.Bild, (L{55, 0, 110, 220}));

  // The shorter side is rounded to the nearest, halves to even (2.5, 3.5,
  // 1.5); a thin panorama keeps one line.
  const std::array<int, 4> faelle[] = {{440, 5, 220, 2}, {440, 7, 220, 4}, {3, 440, 2, 220}, {220, 220, 220, 220},
                                       {10000, 4, 220, 1}};
  for (const auto& [w, hoehe, sb, sh] : faelle) {
    int b = 0, h = 0;
    Vorschaumass(w, hoehe, 220, b, h);
    EXPECT_EQ(std::pair(b, h), std::pair(sb, sh)) << w << "x" << hoehe;
  }
}

TEST_F(Kommentareditor, NurBlaetternSchreibtNichts) {
  bild("1.jpg", 16, 16, "eins");
  bild("2.jpg", 16, 16);
  schreiben(pfad("3.jpg"), lesen(std::string(MOSAIK_TEST_DATA) + "/jpeg/cm-exiftool.jpg"));
  for (const char* n : {"1.jpg", "2.jpg", "3.jpg"}) altesDatum(n);
  std::vector<std::pair<std::string, timespec>> vorher;
  for (const char* n : {"1.jpg", "2.jpg", "3.jpg"}) vorher.emplace_back(lesen(pfad(n)), aenderungszeit(pfad(n)));
  oeffnen();
  for (int i = 0; i < 7; ++i) f.BitBWeiterClick();
  for (int i = 0; i < 5; ++i) f.BitBzurueckClick();
  f.BSchliessenClick();
  int i = 0;
  for (const char* n : {"1.jpg", "2.jpg", "3.jpg"}) {
    EXPECT_EQ(lesen(pfad(n)), vorher[i].first) << n;
    EXPECT_EQ(aenderungszeit(pfad(n)).tv_sec, vorher[i].second.tv_sec) << n;
    EXPECT_EQ(aenderungszeit(pfad(n)).tv_nsec, vorher[i].second.tv_nsec) << n;
    ++i;
  }
  EXPECT_EQ(eintraege(ordner.pfad()), 3);
}

TEST_F(Kommentareditor, GeaenderterKommentarWirdGeschriebenMitAllemUebrigen) {
  // A picture with EXIF, XMP, an ICC profile and a comment.
  const std::string original = lesen(std::string(MOSAIK_TEST_DATA) + "/jpeg/cm-exiftool.jpg");
  schreiben(pfad("a.jpg"), original);
  bild("b.jpg", 16, 16);
  altesDatum("a.jpg");
  oeffnen();
  const uint32_t gelistet = f.Dateiliste[0].Datum;
  EXPECT_EQ(f.MKommentar, "exiftool Kommentar");
  f.MKommentar = "Am Strand von K\xC3\xB6" "ln\r\nzweite Zeile \xE2\x98\xBA";
  f.BitBWeiterClick();
  EXPECT_TRUE(u.dialoge.meldungen.empty()) << u.dialoge.meldungen[0].text;
  EXPECT_EQ(f.AktuellesBild, 1);
  EXPECT_EQ(kommentarVon(pfad("a.jpg")), "Am Strand von K\xC3\xB6" "ln\r\nzweite Zeile \xE2\x98\xBA");
  const std::string neu = lesen(pfad("a.jpg"));
  EXPECT_EQ(ohneMetadaten(neu), ohneMetadaten(original));
  imaging::TimgData vorher(255), nachher(255);
  vorher.ReadJpegSections(original);
  nachher.ReadJpegSections(neu);
  ASSERT_TRUE(nachher.HasExif());
  EXPECT_EQ(nachher.Sections[static_cast<size_t>(nachher.ExifSegment - 1)].Data,
            vorher.Sections[static_cast<size_t>(vorher.ExifSegment - 1)].Data);
  EXPECT_NE(neu.find("http://ns.adobe.com/xap/1.0/"), std::string::npos);  // XMP kept
  EXPECT_NE(neu.find("ICC_PROFILE"), std::string::npos);
  EXPECT_EQ(neu.find("exiftool Kommentar"), std::string::npos);  // the old comment is gone
  EXPECT_EQ(fs::entryInfo(pfad("a.jpg"))->dosTime, gelistet);
  EXPECT_EQ(eintraege(ordner.pfad()), 2);

  // A picture without any metadata gets a comment all the same.
  const std::string b = lesen(pfad("b.jpg"));
  EXPECT_EQ(f.MKommentar, "");
  f.MKommentar = "neu";
  // Shown again, the new text is what a later save compares with.
  f.BitBzurueckClick();
  EXPECT_EQ(kommentarVon(pfad("b.jpg")), "neu");
  EXPECT_EQ(ohneMetadaten(lesen(pfad("b.jpg"))), ohneMetadaten(b));
  EXPECT_EQ(f.MKommentar, "Am Strand von K\xC3\xB6" "ln\r\nzweite Zeile \xE2\x98\xBA");
  EXPECT_EQ(f.Dateiliste[0].Kommentar, f.MKommentar);
}

TEST_F(Kommentareditor, AbbruchStelltHerUndSchliessenSpeichertNicht) {
  bild("a.jpg", 16, 16, "alt");
  bild("b.jpg", 16, 16, "b");
  const std::string original = lesen(pfad("a.jpg"));
  oeffnen();
  f.MKommentar = "verworfen";
  f.BitBAbbruchClick();
  EXPECT_EQ(f.MKommentar, "alt");
  f.BitBWeiterClick();
  EXPECT_EQ(lesen(pfad("a.jpg")), original);

  f.BitBzurueckClick();
  int geschlossen = 0;
  f.schliessen = [&] { ++geschlossen; };
  f.MKommentar = "nie gespeichert";
  f.BSchliessenClick();
  EXPECT_EQ(geschlossen, 1);
  EXPECT_FALSE(f.Visible);
  EXPECT_EQ(lesen(pfad("a.jpg")), original);
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(Kommentareditor, SchreibgeschuetzteDateiWirdNichtGeaendert) {
  bild("a.jpg", 16, 16, "alt");
  bild("b.jpg", 16, 16);
  ::chmod(pfad("a.jpg").c_str(), 0444);
  const std::string original = lesen(pfad("a.jpg"));
  oeffnen();
  f.MKommentar = "neu";
  f.BitBWeiterClick();
  meldung(1, MsgKind::Error, "Die Datei " + pfad("a.jpg") + "\r\nist schreibgesch\xC3\xBCtzt!");
  EXPECT_EQ(f.AktuellesBild, 1);
  EXPECT_EQ(lesen(pfad("a.jpg")), original);

  // Protected after it was listed: still refused.
  ::chmod(pfad("b.jpg").c_str(), 0444);
  const std::string b = lesen(pfad("b.jpg"));
  f.MKommentar = "auch neu";
  f.BitBWeiterClick();
  ASSERT_EQ(u.dialoge.meldungen.size(), 2u);
  EXPECT_EQ(u.dialoge.meldungen[1].text, "Die Datei " + pfad("b.jpg") + "\r\nist schreibgesch\xC3\xBCtzt!");
  EXPECT_EQ(lesen(pfad("b.jpg")), b);
}

TEST_F(Kommentareditor, SchreibfehlerLaesstDasOriginalUnveraendert) {
  bild("a.jpg", 64, 64, "alt");
  bild("b.jpg", 16, 16);
  altesDatum("a.jpg");
  const std::string original = lesen(pfad("a.jpg"));
  const timespec zeit = aenderungszeit(pfad("a.jpg"));
  oeffnen();
  const std::string kopf = "Die Datei " + pfad("a.jpg") + "\r\nkann nicht geschrieben werden!\r\n";

  // Too long for a comment section.
  f.MKommentar = std::string(70000, 'x');
  f.BitBWeiterClick();
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Error);
  EXPECT_EQ(u.dialoge.meldungen[0].text.rfind(kopf, 0), 0u) << u.dialoge.meldungen[0].text;
  EXPECT_NE(u.dialoge.meldungen[0].text.find("65533"), std::string::npos);
  EXPECT_NE(u.dialoge.meldungen[0].text.find("Die Datei wurde nicht ver\xC3\xA4ndert."), std::string::npos);
  EXPECT_EQ(f.AktuellesBild, 1);
  EXPECT_EQ(lesen(pfad("a.jpg")), original);

  // The disk refuses the write half-way (file size limit): the temporary
  // file goes, the original stays as it was, date included.
  f.BitBzurueckClick();
  f.MKommentar = std::string(3000, 'y');
  rlimit alt{};
  ::getrlimit(RLIMIT_FSIZE, &alt);
  const auto signal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit knapp = alt;
  knapp.rlim_cur = static_cast<rlim_t>(original.size());
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &knapp), 0);
  f.BitBWeiterClick();
  ::setrlimit(RLIMIT_FSIZE, &alt);
  std::signal(SIGXFSZ, signal);
  ASSERT_EQ(u.dialoge.meldungen.size(), 2u);
  EXPECT_EQ(u.dialoge.meldungen[1].text.rfind(kopf, 0), 0u) << u.dialoge.meldungen[1].text;
  EXPECT_EQ(lesen(pfad("a.jpg")), original);
  EXPECT_EQ(aenderungszeit(pfad("a.jpg")).tv_sec, zeit.tv_sec);
  EXPECT_EQ(eintraege(ordner.pfad()), 2);

  // Gone since it was listed.
  f.BitBzurueckClick();
  ::unlink(pfad("a.jpg").c_str());
  f.MKommentar = "neu";
  f.BitBWeiterClick();
  ASSERT_EQ(u.dialoge.meldungen.size(), 3u);
  EXPECT_EQ(u.dialoge.meldungen[2].text.rfind(kopf, 0), 0u);
  EXPECT_FALSE(fs::exists(pfad("a.jpg")));
}

TEST_F(Kommentareditor, UnlesbaresBildUebernimmtKeinenFremdenKommentar) {
  bild("a.jpg", 16, 16, "Kommentar von a");
  schreiben(pfad("b.jpg"), "kein JPEG");
  oeffnen();
  EXPECT_EQ(f.MKommentar, "Kommentar von a");
  f.BitBWeiterClick();
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].text, "Fehler beim Einlesen der Datei\r\n" + pfad("b.jpg"));
  EXPECT_EQ(f.LBildNr, "2/2");
  EXPECT_EQ(f.LDateiname, "b.jpg");
  EXPECT_EQ(f.MKommentar, "");
  EXPECT_EQ(f.Bild, TKommentarForm::Lage{});
  EXPECT_EQ(pixel(f.Bildfenster, 110, 110), f.Flaeche);
  // Moving on writes nothing into it; typing into it is refused by the writer.
  f.BitBWeiterClick();
  EXPECT_EQ(lesen(pfad("b.jpg")), "kein JPEG");
  f.BitBzurueckClick();
  f.MKommentar = "getippt";
  f.BitBWeiterClick();
  EXPECT_EQ(lesen(pfad("b.jpg")), "kein JPEG");
  EXPECT_EQ(u.dialoge.meldungen.back().text.rfind("Die Datei " + pfad("b.jpg") + "\r\nkann nicht geschrieben werden!", 0),
            0u);
}

TEST_F(Kommentareditor, BildHinterEinerVerknuepfungWirdAnOrtUndStelleGeschrieben) {
  TempOrdner anderswo;
  schreiben(anderswo.pfad() + "echt.jpg", jpegBytes(16, 16, 1, 2, 3, "alt"));
  stdfs::create_symlink(anderswo.pfad() + "echt.jpg", pfad("link.jpg"));
  oeffnen();
  ASSERT_EQ(namen(), std::vector<std::string>{"link.jpg"});
  EXPECT_EQ(f.MKommentar, "alt");
  f.MKommentar = "neu";
  f.BitBWeiterClick();
  EXPECT_TRUE(stdfs::is_symlink(pfad("link.jpg")));
  EXPECT_EQ(kommentarVon(anderswo.pfad() + "echt.jpg"), "neu");
}

TEST_F(Kommentareditor, KlicksWaehrendDerArbeitWerdenIgnoriert) {
  bild("1.jpg", 8, 8);
  bild("2.jpg", 8, 8);
  bild("3.jpg", 8, 8);
  int gepumpt = 0;
  u.sv.pump = [&] {
    ++gepumpt;
    f.BitBWeiterClick();
    f.BitBzurueckClick();
    f.BitBBilderPfadWahlClick();
  };
  oeffnen();
  EXPECT_GT(gepumpt, 3);
  EXPECT_TRUE(u.dialoge.ordnerDialoge.empty());
  EXPECT_EQ(f.AktuellesBild, 0);
  EXPECT_TRUE(f.Bereit);
  f.BitBWeiterClick();
  EXPECT_EQ(f.AktuellesBild, 1);
  EXPECT_TRUE(f.Bereit);
}

TEST_F(Kommentareditor, OrdnerWahlGiltBisZumNaechstenOeffnen) {
  bild("a.jpg", 8, 8);
  TempOrdner zweiter;
  schreiben(zweiter.pfad() + "x.jpg", jpegBytes(8, 8));
  schreiben(zweiter.pfad() + "y.jpg", jpegBytes(8, 8));
  oeffnen();
  f.BitBWeiterClick();
  u.dialoge.ordnerAntworten = {FolderChoice{zweiter.pfad().substr(0, zweiter.pfad().size() - 1)}};
  f.BitBBilderPfadWahlClick();
  ASSERT_EQ(u.dialoge.ordnerDialoge.size(), 1u);
  EXPECT_EQ(u.dialoge.ordnerDialoge[0].folder, ordner.pfad());
  const uint32_t flags = TBrowseInfoFlags{TBrowseInfoFlag::ShowPath, TBrowseInfoFlag::ShowShared}.bits();
  EXPECT_EQ(u.dialoge.ordnerDialoge[0].flags & flags, flags);
  EXPECT_EQ(f.KommentarOrdner, zweiter.pfad());
  EXPECT_EQ(namen(), (std::vector<std::string>{"x.jpg", "y.jpg"}));
  EXPECT_EQ(f.AktuellesBild, 0);
  EXPECT_EQ(f.LBildNr, "1/2");
  // Cancelled, or an item that is no folder: the same folder, read again.
  f.BitBWeiterClick();
  u.dialoge.ordnerAntworten = {std::nullopt, FolderChoice{""}};
  f.BitBBilderPfadWahlClick();
  EXPECT_EQ(f.AktuellesBild, 0);
  f.BitBWeiterClick();
  f.BitBBilderPfadWahlClick();
  EXPECT_EQ(f.KommentarOrdner, zweiter.pfad());
  EXPECT_EQ(f.AktuellesBild, 0);
  EXPECT_EQ(f.Dateiliste.size(), 2u);

  // Shown again: the main window's picture folder.
  f.Zeigen();
  EXPECT_EQ(f.KommentarOrdner, ordner.pfad());
  EXPECT_EQ(namen(), std::vector<std::string>{"a.jpg"});
}

}  // namespace
}  // namespace mosaik::test
