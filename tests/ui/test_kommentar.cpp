#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <filesystem>
#include <tuple>

#include "../ui/RegelnTestbasis.h"
#include "app/options/AppState.h"
#include "generator/Verzeichnis.h"
#include "test_kommentar_basis.h"
#include "ui/KommentarForm.h"

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

  // The picture types of the gallery count; hidden files when chosen.
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

// Browsing runs in a ring; browsing, cancelling and closing write nothing.
TEST_F(Kommentareditor, BlaetternAbbruchUndSchliessenSchreibenNichts) {
  bild("1.jpg", 16, 16, "eins");
  bild("2.jpg", 16, 16);
  schreiben(pfad("3.jpg"), lesen(std::string(MOSAIK_TEST_DATA) + "/jpeg/cm-exiftool.jpg"));
  const std::vector<std::string> dateien = {"1.jpg", "2.jpg", "3.jpg"};
  for (const std::string& n : dateien) altesDatum(n);
  const auto stand = [&] {
    std::vector<std::tuple<std::string, time_t, long>> s;
    for (const std::string& n : dateien) {
      s.emplace_back(lesen(pfad(n)), aenderungszeit(pfad(n)).tv_sec, aenderungszeit(pfad(n)).tv_nsec);
    }
    return s;
  };
  const auto vorher = stand();
  oeffnen();
  EXPECT_EQ(f.LBildNr, "1/3");
  EXPECT_EQ(f.LDateiname, "1.jpg");
  f.MKommentar = "verworfen";
  f.BitBAbbruchClick();
  EXPECT_EQ(f.MKommentar, "eins");
  f.BitBzurueckClick();
  EXPECT_EQ(f.AktuellesBild, 2);
  EXPECT_EQ(f.LBildNr, "3/3");
  EXPECT_EQ(f.MKommentar, "exiftool Kommentar");
  f.BitBWeiterClick();
  EXPECT_EQ(f.AktuellesBild, 0);
  EXPECT_EQ(f.LDateiname, "1.jpg");
  f.BitBWeiterClick();
  EXPECT_EQ(f.LBildNr, "2/3");
  EXPECT_EQ(f.MKommentar, "");
  for (int i = 0; i < 7; ++i) f.BitBWeiterClick();
  for (int i = 0; i < 5; ++i) f.BitBzurueckClick();
  int geschlossen = 0;
  f.schliessen = [&] { ++geschlossen; };
  f.MKommentar = "nie gespeichert";
  f.BSchliessenClick();
  EXPECT_EQ(geschlossen, 1);
  EXPECT_FALSE(f.Visible);
  EXPECT_EQ(stand(), vorher);
  EXPECT_EQ(eintraege(ordner.pfad()), 3);
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(Kommentareditor, GeaenderterKommentarWirdGeschriebenMitAllemUebrigen) {
  // A picture with JFIF, EXIF, XMP, an ICC profile and a comment, owned by
  // someone else (when run as root), with a modification time to the
  // nanosecond.
  const std::string original = lesen(std::string(MOSAIK_TEST_DATA) + "/jpeg/cm-exiftool.jpg");
  schreiben(pfad("a.jpg"), original);
  bild("b.jpg", 16, 16);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(pfad("a.jpg").c_str(), 65534, 65534), 0);
  }
  ::chmod(pfad("a.jpg").c_str(), 0640);
  const timespec zeiten[2] = {{988885230, 5}, {988885231, 123456789}};
  ASSERT_EQ(::utimensat(AT_FDCWD, pfad("a.jpg").c_str(), zeiten, 0), 0);
  struct stat vorher {};
  ::stat(pfad("a.jpg").c_str(), &vorher);
  oeffnen();
  EXPECT_EQ(f.MKommentar, "exiftool Kommentar");
  f.MKommentar = "Am Strand von K\xC3\xB6" "ln\r\nzweite Zeile \xE2\x98\xBA";
  f.BitBWeiterClick();
  EXPECT_TRUE(u.dialoge.meldungen.empty()) << u.dialoge.meldungen[0].text;
  EXPECT_EQ(f.AktuellesBild, 1);
  EXPECT_EQ(kommentarVon(pfad("a.jpg")), "Am Strand von K\xC3\xB6" "ln\r\nzweite Zeile \xE2\x98\xBA");
  const std::string neu = lesen(pfad("a.jpg"));
  EXPECT_EQ(ohneKommentare(neu), ohneKommentare(original));
  EXPECT_EQ(neu.find("exiftool Kommentar"), std::string::npos);  // the old comment is gone
  struct stat nachher {};
  ::stat(pfad("a.jpg").c_str(), &nachher);
  EXPECT_EQ(std::vector<uint64_t>({nachher.st_uid, nachher.st_gid, nachher.st_mode,
                                   static_cast<uint64_t>(nachher.st_mtim.tv_sec),
                                   static_cast<uint64_t>(nachher.st_mtim.tv_nsec)}),
            std::vector<uint64_t>({vorher.st_uid, vorher.st_gid, vorher.st_mode, 988885231, 123456789}));
  EXPECT_EQ(eintraege(ordner.pfad()), 2);

  // A picture without any metadata gets a comment all the same.
  const std::string b = lesen(pfad("b.jpg"));
  EXPECT_EQ(f.MKommentar, "");
  f.MKommentar = "neu";
  // Shown again, the new text is what a later save compares with.
  f.BitBzurueckClick();
  EXPECT_EQ(kommentarVon(pfad("b.jpg")), "neu");
  EXPECT_EQ(ohneKommentare(lesen(pfad("b.jpg"))), ohneKommentare(b));
  EXPECT_EQ(f.MKommentar, "Am Strand von K\xC3\xB6" "ln\r\nzweite Zeile \xE2\x98\xBA");
  EXPECT_EQ(f.Dateiliste[0].Kommentar, f.MKommentar);
}

// Little-endian bytes of a number.
std::string le(uint32_t v, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

// A multi-picture index for two pictures (APP2 "MPF"): a little-endian TIFF
// header, one directory (version, number of pictures, the entries at 50)
// and the two 16-byte entries; the second's offset counts from the header.
std::string mpf(uint32_t ersteGroesse, uint32_t zweiteGroesse, uint32_t zweiteStelle) {
  std::string t = std::string("II*\0", 4) + le(8, 4) + le(3, 2);
  t += le(0xB000, 2) + le(7, 2) + le(4, 4) + "0100";
  t += le(0xB001, 2) + le(4, 2) + le(1, 4) + le(2, 4);
  t += le(0xB002, 2) + le(7, 2) + le(32, 4) + le(50, 4) + le(0, 4);
  t += le(0x20030000, 4) + le(ersteGroesse, 4) + le(0, 4) + le(0, 4);
  t += le(0x00020000, 4) + le(zweiteGroesse, 4) + le(zweiteStelle, 4) + le(0, 4);
  const std::string payload = std::string("MPF\0", 4) + t;
  return std::string("\xFF\xE2", 2) + static_cast<char>((payload.size() + 2) >> 8) +
         static_cast<char>((payload.size() + 2) & 0xFF) + payload;
}

TEST_F(Kommentareditor, MehrbilddateiMitZweiKommentaren) {
  // A camera file: the first picture with its index right after the JFIF
  // header and two comments, the second picture after its end marker.
  const std::string erstes = jpegBytes(16, 16);
  const std::string zweites = jpegBytes(24, 8, 10, 20, 200);
  const size_t kopf = 2 + 2 + (static_cast<unsigned char>(erstes[4]) << 8 | static_cast<unsigned char>(erstes[5]));
  const std::string kommentare = std::string("\xFF\xFE\0\x09Zeile 1", 11) + std::string("\xFF\xFE\0\x09Zeile 2", 11);
  const size_t groesse = erstes.size() + mpf(0, 0, 0).size() + kommentare.size();
  const size_t index = kopf + 8;  // where the index's offsets count from
  schreiben(pfad("mp.jpg"), erstes.substr(0, kopf) + mpf(groesse, zweites.size(), groesse - index) + kommentare +
                                erstes.substr(kopf) + zweites);
  oeffnen();
  // Both comments are shown, and saving replaces both.
  EXPECT_EQ(f.MKommentar, "Zeile 1\r\nZeile 2");
  f.MKommentar = "Ein neuer, l\xC3\xA4ngerer Kommentar";
  f.BitBWeiterClick();
  EXPECT_EQ(kommentarVon(pfad("mp.jpg")), "Ein neuer, l\xC3\xA4ngerer Kommentar");
  EXPECT_EQ(f.MKommentar, "Ein neuer, l\xC3\xA4ngerer Kommentar");
  // The index still finds the second picture, and the first ends where it begins.
  const std::string neu = lesen(pfad("mp.jpg"));
  const auto zahl = [&](size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(neu[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(neu[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(neu[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(neu[at + 3])) << 24;
  };
  const size_t stelle = index + zahl(index + 50 + 16 + 8);
  EXPECT_EQ(zahl(index + 50 + 4), stelle);
  EXPECT_TRUE(neu.substr(stelle) == zweites);
  const imaging::RgbBitmap zweitesBild = imaging::DecodeJpeg(neu.substr(stelle));
  EXPECT_EQ(std::pair(zweitesBild.Width, zweitesBild.Height), std::pair(24, 8));
  EXPECT_EQ(imaging::DecodeJpeg(neu).Width, 16);
}

TEST_F(Kommentareditor, SchreibfehlerLassenDasOriginalUnveraendert) {
  bild("a.jpg", 64, 64, "alt");
  bild("b.jpg", 16, 16);
  bild("s.jpg", 16, 16, "alt");
  ::chmod(pfad("s.jpg").c_str(), 0444);
  altesDatum("a.jpg");
  const std::string original = lesen(pfad("a.jpg"));
  const std::string bAlt = lesen(pfad("b.jpg"));
  const std::string sAlt = lesen(pfad("s.jpg"));
  const timespec zeit = aenderungszeit(pfad("a.jpg"));
  oeffnen();
  const std::string kopf = "Die Datei " + pfad("a.jpg") + "\r\nkann nicht geschrieben werden!";

  // Too long for a comment section: no failed write, but bad input.
  f.MKommentar = std::string(70000, 'x');
  f.BitBWeiterClick();
  meldung(1, MsgKind::Error,
          "Der Kommentar ist zu lang: Ein JPEG-Kommentar fasst h\xC3\xB6" "chstens 65533 Bytes, dieser hat 70000.\r\n"
          "Die Datei " + pfad("a.jpg") + " wurde nicht ver\xC3\xA4ndert.");
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
  meldung(2, MsgKind::Error, kopf);
  EXPECT_EQ(lesen(pfad("a.jpg")), original);
  EXPECT_EQ(aenderungszeit(pfad("a.jpg")).tv_sec, zeit.tv_sec);
  EXPECT_EQ(eintraege(ordner.pfad()), 3);

  // Write-protected after it was listed, or already when listed: refused,
  // and the editor moves on.
  ::chmod(pfad("b.jpg").c_str(), 0444);
  f.MKommentar = "auch neu";
  f.BitBWeiterClick();
  meldung(3, MsgKind::Error, "Die Datei " + pfad("b.jpg") + "\r\nist schreibgesch\xC3\xBCtzt!");
  f.MKommentar = "neu";
  f.BitBWeiterClick();
  meldung(4, MsgKind::Error, "Die Datei " + pfad("s.jpg") + "\r\nist schreibgesch\xC3\xBCtzt!");
  EXPECT_EQ(f.AktuellesBild, 0);
  EXPECT_EQ(lesen(pfad("b.jpg")), bAlt);
  EXPECT_EQ(lesen(pfad("s.jpg")), sAlt);

  // Gone since it was listed.
  ::unlink(pfad("a.jpg").c_str());
  f.MKommentar = "neu";
  f.BitBWeiterClick();
  meldung(5, MsgKind::Error, kopf);
  EXPECT_FALSE(fs::exists(pfad("a.jpg")));
}

TEST_F(Kommentareditor, UnlesbaresBildUebernimmtKeinenFremdenKommentar) {
  bild("a.jpg", 16, 16, "Kommentar von a");
  schreiben(pfad("b.jpg"), "kein JPEG");
  oeffnen();
  EXPECT_EQ(f.MKommentar, "Kommentar von a");
  f.BitBWeiterClick();
  meldung(1, MsgKind::Error, "Fehler beim Einlesen der Datei\r\n" + pfad("b.jpg") + "\r\nDie Daten sind kein JPEG-Bild.");
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
  meldung(3, MsgKind::Error, "Die Datei " + pfad("b.jpg") + "\r\nkann nicht geschrieben werden!");
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
