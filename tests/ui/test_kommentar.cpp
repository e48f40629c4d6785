#include <fcntl.h>
#include <poll.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <filesystem>
#include <functional>
#include <sstream>
#include <tuple>

#include "../ui/RegelnTestbasis.h"
#include "AlsNobody.h"
#include "app/options/AppState.h"
#include "generator/Bildbeschreibung.h"
#include "generator/Verzeichnis.h"
#include "imaging/ExifTestData.h"
#include "platform/Win1252.h"
#include "test_kommentar_basis.h"
#include "ui/KommentarForm.h"

namespace mosaik::test {
namespace {

namespace stdfs = std::filesystem;
using imaging::testdata::Segment;

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
  // Runs schritt in a child process as the program runs: the file-size
  // signal at its default disposition, then the program's own preparation;
  // under a file-size limit of `grenze` bytes and, with alsNobody, as the
  // user nobody. The child must end by itself, not by a signal; its new
  // messages and the picture it went on to are taken over, so that the test
  // goes on from there.
  void imKind(const std::function<void()>& schritt, rlim_t grenze = RLIM_INFINITY, bool alsNobody = false) {
    int rohr[2];
    ASSERT_EQ(::pipe(rohr), 0);
    const size_t vorher = u.dialoge.meldungen.size();
    const pid_t kind = ::fork();
    if (kind == 0) {
      ::close(rohr[0]);
      ::signal(SIGXFSZ, SIG_DFL);
      fs::prepareSignals();
      if (alsNobody && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) _exit(3);
      rlimit r{};
      ::getrlimit(RLIMIT_FSIZE, &r);
      r.rlim_cur = grenze;
      if (::setrlimit(RLIMIT_FSIZE, &r) != 0) _exit(4);
      schritt();
      std::string bericht = std::to_string(f.AktuellesBild) + "\n";
      for (size_t i = vorher; i < u.dialoge.meldungen.size(); ++i) {
        const Meldung& m = u.dialoge.meldungen[i];
        bericht += std::to_string(static_cast<int>(m.kind)) + " " + std::to_string(m.text.size()) + "\n" + m.text;
      }
      _exit(fs::writeAll(rohr[1], bericht) ? 0 : 5);
    }
    ::close(rohr[1]);
    std::string bericht;
    char puffer[4096];
    for (ssize_t n; (n = ::read(rohr[0], puffer, sizeof puffer)) != 0;)
      if (n > 0) bericht.append(puffer, static_cast<size_t>(n));
      else if (errno != EINTR) break;
    ::close(rohr[0]);
    int status = 0;
    ::waitpid(kind, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << (WIFSIGNALED(status) ? "Signal " + std::to_string(WTERMSIG(status)) : "Status " + std::to_string(status));
    std::istringstream ein(bericht);
    int bild = 0;
    ein >> bild;
    f.AktuellesBild = bild;
    f.BildAnzeigen(bild);
    for (int art = 0; ein >> art;) {
      size_t laenge = 0;
      ein >> laenge;
      ein.get();
      std::string text(laenge, '\0');
      ein.read(text.data(), static_cast<std::streamsize>(laenge));
      u.dialoge.meldungen.push_back({static_cast<MsgKind>(art), text, MsgButtons::Ok, {}});
    }
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

// Little-endian bytes of a number.
std::string le(uint32_t v, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
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
  const std::string jfif = jpegBytes(16, 16);
  const size_t jfifEnde = 4 + (static_cast<unsigned char>(jfif[4]) << 8 | static_cast<unsigned char>(jfif[5]));
  schreiben(pfad("b.jpg"), jfif.substr(0, jfifEnde) +
                               Segment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0<x/>", 33)) +
                               Segment(0xE2, std::string("ICC_PROFILE\0\1\1", 14)) +
                               Segment(0xEE, std::string("Adobe\0\144\0\0\0\0\1", 12)) + jfif.substr(jfifEnde));
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(pfad("a.jpg").c_str(), 65534, 65534), 0);
  }
  ::chmod(pfad("a.jpg").c_str(), 0640);
  // Desktop tags and a file comment, and an ACL giving uid 1000 read access
  // (version 2; owner rw, that user r, group r, mask r, others nothing).
  const std::string acl = le(2, 4) + le(0x01, 2) + le(6, 2) + le(~0u, 4) + le(0x02, 2) + le(4, 2) + le(1000, 4) +
                          le(0x04, 2) + le(4, 2) + le(~0u, 4) + le(0x10, 2) + le(4, 2) + le(~0u, 4) + le(0x20, 2) +
                          le(0, 2) + le(~0u, 4);
  const std::pair<const char*, std::string> attribute[] = {
      {"user.xdg.tags", "Urlaub,Meer"}, {"user.xdg.comment", "Lieblingsbild"}, {"system.posix_acl_access", acl}};
  for (const auto& [name, wert] : attribute) {
    ASSERT_EQ(::setxattr(pfad("a.jpg").c_str(), name, wert.data(), wert.size(), 0), 0) << name;
  }
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
  for (const auto& [name, wert] : attribute) {
    std::string jetzt(256, '\0');
    jetzt.resize(static_cast<size_t>(std::max<ssize_t>(0, ::getxattr(pfad("a.jpg").c_str(), name, jetzt.data(), 256))));
    EXPECT_EQ(jetzt, wert) << name;
  }

  // A web export (JFIF, XMP, ICC profile, Adobe) without a comment gets
  // one where the gallery reads it.
  const std::string b = lesen(pfad("b.jpg"));
  EXPECT_EQ(f.MKommentar, "");
  f.MKommentar = "neu";
  // Shown again, the new text is what a later save compares with.
  f.BitBzurueckClick();
  EXPECT_EQ(Bildmetadaten(pfad("b.jpg")).Kommentar(), "neu");
  EXPECT_EQ(ohneKommentare(lesen(pfad("b.jpg"))), ohneKommentare(b));
  EXPECT_EQ(f.MKommentar, "Am Strand von K\xC3\xB6" "ln\r\nzweite Zeile \xE2\x98\xBA");
  EXPECT_EQ(f.Dateiliste[0].Kommentar, f.MKommentar);
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
  return Segment(0xE2, std::string("MPF\0", 4) + t);
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

// As nobody, so that folder and file permissions bind.
TEST_F(Kommentareditor, SchreibfehlerLassenDasOriginalUnveraendert) {
  if (AlsNobodyWiederholt()) return;
  bild("a.jpg", 64, 64, "alt");
  bild("b.jpg", 16, 16);
  bild("h.jpg", 64, 64, "alt");
  bild("s.jpg", 16, 16, "alt");
  ::chmod(pfad("s.jpg").c_str(), 0444);
  // A second name of h.jpg elsewhere.
  TempOrdner anderswo;
  ASSERT_EQ(::link(pfad("h.jpg").c_str(), (anderswo.pfad() + "h.jpg").c_str()), 0);
  altesDatum("a.jpg");
  altesDatum("h.jpg");
  const std::string original = lesen(pfad("a.jpg"));
  const std::string bAlt = lesen(pfad("b.jpg"));
  const std::string hAlt = lesen(pfad("h.jpg"));
  const std::string sAlt = lesen(pfad("s.jpg"));
  const timespec zeit = aenderungszeit(pfad("a.jpg"));
  const auto kopf = [&](const std::string& name) {
    return "Die Datei " + pfad(name) + "\r\nkann nicht geschrieben werden!";
  };
  // Copies of originals left in the temporary folder.
  const auto kopien = [] {
    int n = 0;
    for (const auto& e : stdfs::directory_iterator(stdfs::temp_directory_path()))
      n += e.path().filename().string().starts_with("mosaik-original-");
    return n;
  };
  const int kopienVorher = kopien();
  oeffnen();

  // Too long for a comment section: no failed write, but bad input.
  f.MKommentar = std::string(70000, 'x');
  f.BitBWeiterClick();
  meldung(1, MsgKind::Error,
          "Der Kommentar ist zu lang: Ein JPEG-Kommentar fasst h\xC3\xB6" "chstens 65533 Bytes, dieser hat 70000.\r\n"
          "Die Datei " + pfad("a.jpg") + " wurde nicht ver\xC3\xA4ndert.");
  EXPECT_EQ(f.AktuellesBild, 1);
  EXPECT_EQ(lesen(pfad("a.jpg")), original);

  // Refused half-way by the file-size limit: the temporary file goes, the
  // original stays as it was, date included.
  f.BitBzurueckClick();
  f.MKommentar = std::string(3000, 'y');
  imKind([&] { f.BitBWeiterClick(); }, original.size());
  const std::string zuGross = "(die Datei w\xC3\xBCrde zu gro\xC3\x9F)";
  meldung(2, MsgKind::Error, kopf("a.jpg") + "\r\nDie neue Fassung kann nicht geschrieben werden " + zuGross + ".");
  EXPECT_EQ(lesen(pfad("a.jpg")), original);
  EXPECT_EQ(aenderungszeit(pfad("a.jpg")).tv_sec, zeit.tv_sec);
  EXPECT_EQ(eintraege(ordner.pfad()), 4);

  // Write-protected after it was listed: refused, and the editor moves on.
  ::chmod(pfad("b.jpg").c_str(), 0444);
  f.MKommentar = "auch neu";
  f.BitBWeiterClick();
  meldung(3, MsgKind::Error, "Die Datei " + pfad("b.jpg") + "\r\nist schreibgesch\xC3\xBCtzt!");

  // A file with a second name is written over in place, so that both
  // names keep one file; refused half-way, it is put back as it was.
  f.MKommentar = std::string(3000, 'z');
  imKind([&] { f.BitBWeiterClick(); }, hAlt.size());
  meldung(4, MsgKind::Error,
          kopf("h.jpg") + "\r\nDie Datei kann nicht geschrieben werden " + zuGross + "; sie ist unver\xC3\xA4ndert.");
  EXPECT_EQ(lesen(pfad("h.jpg")), hAlt);
  EXPECT_EQ(aenderungszeit(pfad("h.jpg")).tv_sec, zeit.tv_sec);
  EXPECT_EQ(kopien(), kopienVorher);
  EXPECT_TRUE(fs::sameFile(pfad("h.jpg"), anderswo.pfad() + "h.jpg"));

  // Write-protected when listed.
  f.MKommentar = "neu";
  f.BitBWeiterClick();
  meldung(5, MsgKind::Error, "Die Datei " + pfad("s.jpg") + "\r\nist schreibgesch\xC3\xBCtzt!");
  EXPECT_EQ(f.AktuellesBild, 0);
  EXPECT_EQ(lesen(pfad("b.jpg")), bAlt);
  EXPECT_EQ(lesen(pfad("s.jpg")), sAlt);

  // Written in place: both names carry the new comment, the date stays.
  f.BitBzurueckClick();
  f.BitBzurueckClick();
  f.MKommentar = "neu h";
  f.BitBWeiterClick();
  EXPECT_EQ(kommentarVon(anderswo.pfad() + "h.jpg"), "neu h");
  EXPECT_TRUE(fs::sameFile(pfad("h.jpg"), anderswo.pfad() + "h.jpg"));
  EXPECT_EQ(aenderungszeit(pfad("h.jpg")).tv_sec, zeit.tv_sec);

  // A folder the user may not write: written in place as well; without a
  // temporary folder for the copy of the original, refused, saying why.
  ::chmod(ordner.pfad().c_str(), 0555);
  f.BitBWeiterClick();
  f.MKommentar = "neu a";
  f.BitBWeiterClick();
  EXPECT_EQ(kommentarVon(pfad("a.jpg")), "neu a");
  EXPECT_EQ(aenderungszeit(pfad("a.jpg")).tv_sec, zeit.tv_sec);
  // The temporary folder one the user may not write, or one that is not
  // there: the message names it.
  const std::string tmp = std::getenv("TMPDIR");
  const std::pair<std::string, std::string> temporaer[] = {{ordner.pfad(), "keine Berechtigung"},
                                                           {ordner.pfad() + "fehlt", "nicht vorhanden"}};
  size_t n = 6;
  for (const auto& [tmpdir, warum] : temporaer) {
    ::setenv("TMPDIR", tmpdir.c_str(), 1);
    f.BitBzurueckClick();
    f.MKommentar = "nochmal";
    f.BitBWeiterClick();
    ::setenv("TMPDIR", tmp.c_str(), 1);
    meldung(n++, MsgKind::Error,
            kopf("a.jpg") + "\r\nIm Ordner " + ordner.pfad() +
                " kann keine neue Datei angelegt werden (keine Berechtigung). An Ort und Stelle kann die Datei auch "
                "nicht geschrieben werden: Im tempor\xC3\xA4ren Ordner " + fs::withTrailingSlash(tmpdir) +
                " kann keine Sicherungskopie angelegt werden (" + warum + ").");
  }
  ::chmod(ordner.pfad().c_str(), 0755);
  EXPECT_EQ(kommentarVon(pfad("a.jpg")), "neu a");
  EXPECT_EQ(eintraege(ordner.pfad()), 4);
  EXPECT_EQ(kopien(), kopienVorher);

  // Gone since it was shown, or behind a link that leads nowhere now: the
  // reason.
  const std::string weg = "\r\nDie Datei ist nicht mehr vorhanden oder nicht zug\xC3\xA4nglich (nicht vorhanden).";
  f.BitBzurueckClick();
  ::unlink(pfad("a.jpg").c_str());
  f.MKommentar = "neu";
  f.BitBWeiterClick();
  meldung(8, MsgKind::Error, kopf("a.jpg") + weg);
  EXPECT_FALSE(fs::exists(pfad("a.jpg")));
  ASSERT_EQ(f.AktuellesBild, 1);
  ::unlink(pfad("b.jpg").c_str());
  ASSERT_EQ(::symlink(pfad("weg.jpg").c_str(), pfad("b.jpg").c_str()), 0);
  f.MKommentar = "neu";
  f.BitBWeiterClick();
  meldung(9, MsgKind::Error, kopf("b.jpg") + weg);
  EXPECT_FALSE(fs::exists(pfad("weg.jpg")));

  // Put in its place since it was shown, a pipe (never waited on: the alarm
  // only ends a test that hangs) or a file that may not be read: the reason.
  const std::pair<std::function<void()>, std::string> ersetzt[] = {
      {[&] { ASSERT_EQ(::mkfifo(pfad("h.jpg").c_str(), 0666), 0); }, "Sie ist keine gew\xC3\xB6hnliche Datei."},
      {[&] {
         ::unlink(pfad("h.jpg").c_str());
         schreiben(pfad("h.jpg"), "neu");
         ASSERT_EQ(::chmod(pfad("h.jpg").c_str(), 0222), 0);
       },
       "Sie kann nicht ge\xC3\xB6" "ffnet werden (keine Berechtigung)."}};
  ::unlink(pfad("h.jpg").c_str());
  for (const auto& [ersetzen, grund] : ersetzt) {
    SCOPED_TRACE(grund);
    f.AktuellesBild = 2;
    ersetzen();
    f.MKommentar = "neu";
    const size_t n = u.dialoge.meldungen.size();
    ::alarm(20);
    f.BitBWeiterClick();
    ::alarm(0);
    meldung(n + 1, MsgKind::Error, kopf("h.jpg") + "\r\n" + grund);
  }
}

// Shared folders: the sticky bit keeps others' files from being renamed or
// removed, not from being written. A picture of root that nobody may write
// (through the group or as anyone) is written in place, as in the same
// folder without the sticky bit; one nobody may not write is refused. Only
// root can make another user's files (CI runs as root); the editor then
// works as nobody in a child.
TEST_F(Kommentareditor, GeteilterOrdnerSchuetztNurVorDemUmbenennen) {
  if (::geteuid() != 0) GTEST_SKIP() << "Dateien eines anderen Benutzers kann nur root anlegen.";
  ASSERT_EQ(::chmod(ordner.pfad().c_str(), 0755), 0);
  const struct {
    const char* name;
    mode_t ordnerRechte, bildRechte;
    bool geschrieben;
  } faelle[] = {{"geteilt", 01777, 0666, true},
                {"gruppe", 03775, 0664, true},
                {"ohne-sticky", 0775, 0664, true},
                {"geteilt-geschuetzt", 01777, 0644, false}};
  for (const auto& fall : faelle) {
    SCOPED_TRACE(fall.name);
    const std::string unter = pfad(std::string(fall.name) + "/");
    const std::string bild = unter + "bild.jpg";
    ASSERT_TRUE(stdfs::create_directory(unter));
    schreiben(bild, jpegBytes(16, 16, 200, 40, 30, "alt"));
    ASSERT_EQ(::chown(unter.c_str(), 0, 65534), 0);
    ASSERT_EQ(::chown(bild.c_str(), 0, 65534), 0);
    ASSERT_EQ(::chmod(unter.c_str(), fall.ordnerRechte), 0);
    ASSERT_EQ(::chmod(bild.c_str(), fall.bildRechte), 0);
    const std::string vorher = lesen(bild);
    const size_t n = u.dialoge.meldungen.size();
    imKind(
        [&] {
          st.BilderOrdnerPfad = unter;
          f.Zeigen();
          f.MKommentar = "neu";
          f.BitBWeiterClick();
        },
        RLIM_INFINITY, true);
    ASSERT_EQ(u.dialoge.meldungen.size(), n + 1);
    if (fall.geschrieben) {
      // Only a file's owner may set its date.
      meldung(n + 1, MsgKind::Information,
              "Der Kommentar der Datei " + bild + " ist gespeichert.\r\nDas Datum der Datei kann nicht beibehalten "
              "werden: Nur ihr Eigent\xC3\xBCmer darf es setzen.");
      EXPECT_EQ(kommentarVon(bild), "neu");
      EXPECT_EQ(ohneKommentare(lesen(bild)), ohneKommentare(vorher));
    } else {
      meldung(n + 1, MsgKind::Error, "Die Datei " + bild + "\r\nist schreibgesch\xC3\xBCtzt!");
      EXPECT_EQ(lesen(bild), vorher);
    }
    // The same file, with its owner, group and rights, and nothing beside it.
    struct stat nachher {};
    ASSERT_EQ(::stat(bild.c_str(), &nachher), 0);
    EXPECT_EQ(std::tuple(nachher.st_uid, nachher.st_gid, nachher.st_mode & 07777, nachher.st_nlink),
              std::tuple(0u, 65534u, fall.bildRechte, 1ul));
    EXPECT_EQ(eintraege(unter), 1);
  }
}

TEST_F(Kommentareditor, UnlesbaresBildUebernimmtKeinenFremdenKommentar) {
  bild("a.jpg", 16, 16, "Kommentar von a");
  schreiben(pfad("b.jpg"), "kein JPEG");
  // Sections but no picture header: its comment is shown all the same.
  const std::string nurKommentar = std::string("\xFF\xD8\xFF\xFE\0\x0FNur Kommentar\xFF\xD9", 19);
  schreiben(pfad("c.jpg"), nurKommentar);
  // What the window showed when each message came: number, name, memo.
  std::vector<std::string> gezeigt;
  f.geaendert = [&] {
    gezeigt.resize(u.dialoge.meldungen.size() + 1);
    gezeigt.back() = f.LBildNr + " " + f.LDateiname + " " + f.MKommentar;
  };
  oeffnen();
  EXPECT_EQ(f.MKommentar, "Kommentar von a");
  f.BitBWeiterClick();
  // The loader's reason follows the file.
  const std::string kEndetFrueh = "\r\nDie JPEG-Datei ist unvollständig (vorzeitiges Dateiende).";
  meldung(1, MsgKind::Error,
          "Fehler beim Einlesen der Datei\r\n" + pfad("b.jpg") + "\r\nDie Daten sind kein JPEG-Bild.");
  EXPECT_EQ(gezeigt[0], "2/3 b.jpg ");
  EXPECT_EQ(f.MKommentar, "");
  EXPECT_EQ(f.Bild, TKommentarForm::Lage{});
  EXPECT_EQ(pixel(f.Bildfenster, 110, 110), f.Flaeche);
  f.BitBWeiterClick();
  meldung(2, MsgKind::Error, "Fehler beim Einlesen der Datei\r\n" + pfad("c.jpg") + kEndetFrueh);
  EXPECT_EQ(gezeigt[1], "3/3 c.jpg ");
  EXPECT_EQ(f.MKommentar, "Nur Kommentar");
  // Moving on writes nothing into them; a change to the comment of c is
  // written, typing into b is refused by the writer.
  f.BitBWeiterClick();
  f.BitBWeiterClick();
  EXPECT_EQ(lesen(pfad("b.jpg")), "kein JPEG");
  EXPECT_EQ(lesen(pfad("c.jpg")), nurKommentar);
  f.BitBWeiterClick();
  f.MKommentar = "Neu";
  f.BitBzurueckClick();
  EXPECT_EQ(lesen(pfad("c.jpg")), std::string("\xFF\xD8\xFF\xFE\0\x05Neu\xFF\xD9", 9));
  f.MKommentar = "getippt";
  f.BitBWeiterClick();
  EXPECT_EQ(lesen(pfad("b.jpg")), "kein JPEG");
  meldung(7, MsgKind::Error, "Fehler beim Einlesen der Datei\r\n" + pfad("c.jpg") + kEndetFrueh);
  EXPECT_EQ(u.dialoge.meldungen[5].text,
            "Die Datei " + pfad("b.jpg") + "\r\nkann nicht geschrieben werden!\r\nDie Datei ist keine JPEG-Datei.");
}

// Picture data that break off are named with the decoder's reason, as a
// gallery run names them (the reasons themselves: tests/imaging).
TEST_F(Kommentareditor, BeschaedigteBilddatenNennenDenGrund) {
  const std::string ganz = jpegBytes(96, 64);
  const size_t mitte = ganz.find("\xFF\xDA") + (ganz.size() - ganz.find("\xFF\xDA")) / 2;
  schreiben(pfad("halb.jpg"), ganz.substr(0, mitte) + "\xFF\xD9");
  oeffnen();
  EXPECT_EQ(u.dialoge.texte(),
            std::vector<std::string>{"Fehler beim Einlesen der Datei\r\n" + pfad("halb.jpg") +
                                     "\r\nDie JPEG-Datei ist unvollst\xC3\xA4ndig (vorzeitiges Dateiende)."});
  EXPECT_EQ(f.Bild, TKommentarForm::Lage{});
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

// Another program changes the comment while the editor shows the old one:
// saving would silently replace a text the user has never seen.
TEST_F(Kommentareditor, FremdGeaenderterKommentarWirdNichtUeberschrieben) {
  const struct {
    std::string gezeigt, fremd, getippt;
    bool konflikt;
  } faelle[] = {
      {"Orig A", "Fremd", "Orig A X", true},               // replaced
      {"Orig A", "", "Orig A X", true},                    // removed
      {"", "Fremd", "neu", true},                          // added where there was none
      {"Orig A", "Fremd", "", true},                       // the user removed it
      {"Orig A", "Orig A", "Orig A X", false},             // rewritten with the same text
      {"K\xC3\xB6ln", "K\xF6ln", "K\xC3\xB6ln X", false},  // the same text in Windows-1252
      {"a\r\nb", "a\nb", "a\r\nb X", false},              // the same lines with other line ends
  };
  // The comment's bytes as they are, whatever their encoding.
  const auto mitKommentar = [](const std::string& kommentar) {
    const std::string ohne = jpegBytes(16, 16);
    const auto l = static_cast<uint16_t>(kommentar.size() + 2);
    return kommentar.empty() ? ohne
                             : ohne.substr(0, 2) + "\xFF\xFE" + static_cast<char>(l >> 8) +
                                   static_cast<char>(l & 0xFF) + kommentar + ohne.substr(2);
  };
  bild("b.jpg", 16, 16, "B");
  size_t meldungen = 0;
  for (const auto& fall : faelle) {
    SCOPED_TRACE(fall.fremd);
    schreiben(pfad("a.jpg"), mitKommentar(fall.gezeigt));
    oeffnen();
    schreiben(pfad("a.jpg"), mitKommentar(fall.fremd));
    const std::string fremd = lesen(pfad("a.jpg"));
    f.MKommentar = fall.getippt;
    f.BitBWeiterClick();
    if (fall.konflikt) {
      // The file as the other program left it; the editor stays and shows
      // what is on disk now, so that the change can be made on top of it.
      meldung(++meldungen, MsgKind::Error,
              "Der Kommentar der Datei " + pfad("a.jpg") +
                  " wurde inzwischen von einem anderen Programm ge\xC3\xA4ndert.\r\n"
                  "Die Datei bleibt unver\xC3\xA4ndert; angezeigt wird jetzt ihr aktueller Kommentar. " +
                  (fall.getippt.empty() ? "Ihr Text war leer." : "Ihr Text war:\r\n" + fall.getippt));
      EXPECT_EQ(lesen(pfad("a.jpg")), fremd);
      EXPECT_EQ(f.MKommentar, TKommentarForm::memoText(fall.fremd));
      f.MKommentar = fall.fremd + " X";
      f.BitBWeiterClick();
    }
    EXPECT_EQ(u.dialoge.meldungen.size(), meldungen);
    EXPECT_EQ(kommentarVon(pfad("a.jpg")), fall.konflikt ? fall.fremd + " X" : fall.getippt);
    EXPECT_EQ(f.AktuellesBild, 1);
  }
}

// Names that nearly fill a file name: a picture with a second name is
// written over in place, with a copy of the original in the temporary
// folder under a name that must fit there as well.
TEST_F(Kommentareditor, LangeNamenMitZweitemNamen) {
  const std::string tmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
  TempOrdner temporaer, anderswo;
  ::setenv("TMPDIR", temporaer.pfad().c_str(), 1);
  std::string umlaute = "x";
  for (int i = 0; i < 119; ++i) umlaute += "\xC3\xA4";
  // 244 ASCII bytes; 243 of two-byte letters, cut in one; the longest a
  // name can be.
  const std::string namen[] = {std::string(240, 'a') + ".jpg", umlaute + ".jpg", std::string(251, 'c') + ".jpg"};
  for (const std::string& n : namen) {
    bild(n, 16, 16, "alt");
    ASSERT_EQ(::link(pfad(n).c_str(), (anderswo.pfad() + n).c_str()), 0);
  }
  // What the write puts into the temporary folder, by name.
  const int wacht = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(::inotify_add_watch(wacht, temporaer.pfad().c_str(), IN_CREATE), 0);
  oeffnen();
  for (size_t i = 0; i < std::size(namen); ++i) {
    f.MKommentar = "neu " + std::to_string(i);
    f.BitBWeiterClick();
  }
  ::setenv("TMPDIR", tmp.c_str(), 1);
  EXPECT_EQ(u.dialoge.texte(), std::vector<std::string>{});
  std::vector<std::string> kopien;
  alignas(inotify_event) char puffer[8192];
  for (ssize_t l; (l = ::read(wacht, puffer, sizeof puffer)) > 0;)
    for (ssize_t p = 0; p < l;) {
      const auto* ev = reinterpret_cast<const inotify_event*>(puffer + p);
      if (ev->len) kopien.emplace_back(ev->name);
      p += static_cast<ssize_t>(sizeof(inotify_event) + ev->len);
    }
  ::close(wacht);
  ASSERT_EQ(kopien.size(), std::size(namen));
  for (size_t i = 0; i < std::size(namen); ++i) {
    const std::string& n = f.Dateiliste[i].Name;
    SCOPED_TRACE(n);
    EXPECT_EQ(kommentarVon(anderswo.pfad() + n), "neu " + std::to_string(i));
    // The copy: prefix, number, as much of the picture's name as fits,
    // never a character cut in half. The prefix, a number of up to six
    // digits and '-' leave 232 bytes, of which a cut character gives back
    // up to 3.
    ASSERT_TRUE(kopien[i].starts_with("mosaik-original-"));
    const std::string teil = kopien[i].substr(kopien[i].find('-', 16) + 1);
    EXPECT_TRUE(n.starts_with(teil) && isValidUtf8(teil));
    EXPECT_GE(teil.size() + 3, std::min<size_t>(n.size(), 232));
  }
  EXPECT_EQ(eintraege(temporaer.pfad()), 0);
}

// Links that another user made (nobody's, seen by root): root's picture
// behind one is neither shown nor written; nobody's link to nobody's own
// picture is followed as the user's own links are.
TEST_F(Kommentareditor, VerknuepfungAndererBenutzerWirdWederGelesenNochBeschrieben) {
  if (::geteuid() != 0) GTEST_SKIP() << "Verknüpfungen eines anderen Benutzers kann nur root anlegen.";
  TempOrdner anderswo;
  const std::string root = anderswo.pfad() + "root.jpg", nobody = anderswo.pfad() + "nobody.jpg";
  schreiben(root, jpegBytes(16, 16, 1, 2, 3, "von root"));
  schreiben(nobody, jpegBytes(16, 16, 1, 2, 3, "von nobody"));
  ASSERT_EQ(::chown(nobody.c_str(), 65534, 65534), 0);
  const std::string rootVorher = lesen(root);
  for (auto [ziel, link] : {std::pair{root, "a.jpg"}, {nobody, "b.jpg"}}) {
    ASSERT_EQ(::symlink(ziel.c_str(), pfad(link).c_str()), 0);
    ASSERT_EQ(::lchown(pfad(link).c_str(), 65534, 65534), 0);
  }
  const std::string grund = "\r\nSie ist eine symbolische Verknüpfung, die ein anderer Benutzer angelegt hat.";
  oeffnen();
  EXPECT_EQ(f.MKommentar, "");
  f.MKommentar = "getippt";
  f.BitBWeiterClick();
  EXPECT_EQ(u.dialoge.texte(), (std::vector<std::string>{"Fehler beim Einlesen der Datei\r\n" + pfad("a.jpg") + grund,
                                                         "Die Datei " + pfad("a.jpg") +
                                                             "\r\nkann nicht geschrieben werden!" + grund}));
  EXPECT_EQ(lesen(root), rootVorher);
  EXPECT_EQ(f.MKommentar, "von nobody");
  f.MKommentar = "neu";
  f.BitBzurueckClick();
  EXPECT_EQ(kommentarVon(nobody), "neu");

  // The editor's folder refused at listing: behind nobody's link to root's
  // folder, and root's folder that nobody may go through but not list. The
  // list stays empty, and the user learns why.
  const std::string link = pfad("ordner");
  ASSERT_EQ(::symlink(anderswo.pfad().c_str(), link.c_str()), 0);
  ASSERT_EQ(::lchown(link.c_str(), 65534, 65534), 0);
  ASSERT_EQ(::chmod(anderswo.pfad().c_str(), 0711), 0);
  ASSERT_EQ(::chmod(ordner.pfad().c_str(), 0755), 0);
  const std::string kopf = "\r\nkann nicht gelesen werden!\r\n";
  u.dialoge.meldungen.clear();
  st.BilderOrdnerPfad = link;
  f.Zeigen();
  EXPECT_TRUE(f.Dateiliste.empty());
  EXPECT_EQ(f.LHinterbild, "kein (JPG-)Bild vorhanden");
  st.BilderOrdnerPfad = anderswo.pfad();
  imKind([&] { f.Zeigen(); }, RLIM_INFINITY, true);
  EXPECT_EQ(u.dialoge.texte(),
            (std::vector<std::string>{"Der Ordner " + link + "/" + kopf + fs::foreignLinkText(link),
                                      "Der Ordner " + anderswo.pfad() + kopf + "Der Ordner " + anderswo.pfad() +
                                          " ist nicht zug\xC3\xA4nglich (keine Berechtigung)."}));
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

// Another user exchanges two names of their folder again and again
// (renameat2 with RENAME_EXCHANGE) while root saves comments there: the
// picture with a link to root's private picture, the picture's folder with
// a link to root's private folder, the picture with a pipe. Root's picture
// keeps its bytes, and no save waits on the pipe: the alarm ends a save
// that hangs (a guard, not a measure of speed).
TEST_F(Kommentareditor, AusgetauschteNamenLenkenKeinSpeichernUm) {
  if (::geteuid() != 0) GTEST_SKIP() << "Namen austauschen lassen kann ein anderer Benutzer nur, wenn root ihn anlegt.";
  TempOrdner privat;
  const std::string geheim = privat.pfad() + "secret.jpg", vorher = jpegBytes(16, 16, 1, 2, 3);
  ASSERT_EQ(::chmod(privat.pfad().c_str(), 0700), 0);
  ASSERT_EQ(::chmod(ordner.pfad().c_str(), 0755), 0);
  const auto verknuepfung = [](const std::string& ziel, const std::string& name) {
    return ::symlink(ziel.c_str(), name.c_str()) == 0 && ::lchown(name.c_str(), 65534, 65534) == 0;
  };
  const struct {
    const char* fall;
    std::string tausch;  // below the user's folder, exchanged with ".x" beside it
    std::function<bool(const std::string&)> anderes;
  } faelle[] = {
      {"Bild gegen Verknüpfung", "pics/secret.jpg", [&](const std::string& x) { return verknuepfung(geheim, x); }},
      {"Ordner gegen Verknüpfung", "pics", [&](const std::string& x) { return verknuepfung(privat.pfad(), x); }},
      {"Bild gegen Pipe", "pics/secret.jpg",
       [](const std::string& x) { return ::mkfifo(x.c_str(), 0666) == 0 && ::chown(x.c_str(), 65534, 65534) == 0; }},
  };
  for (const auto& fall : faelle) {
    SCOPED_TRACE(fall.fall);
    const std::string u = pfad(std::string(fall.fall).substr(0, 4) + std::to_string(&fall - faelle) + "/");
    const std::string a = u + fall.tausch, b = a.substr(0, a.rfind('/') + 1) + ".x";
    ASSERT_TRUE(stdfs::create_directories(u + "pics"));
    schreiben(u + "pics/secret.jpg", jpegBytes(16, 16));
    for (const char* n : {"", "pics", "pics/secret.jpg"}) ASSERT_EQ(::chown((u + n).c_str(), 65534, 65534), 0);
    ASSERT_TRUE(fall.anderes(b));
    schreiben(geheim, vorher);
    ASSERT_EQ(::chmod(geheim.c_str(), 0600), 0);
    st.BilderOrdnerPfad = u + "pics/";
    f.Zeigen();
    ASSERT_EQ(namen(), std::vector<std::string>{"secret.jpg"});
    // Write-protected since it was listed: only a save led astray writes,
    // and each save is over soon.
    ASSERT_EQ(::chmod((u + "pics/secret.jpg").c_str(), 0444), 0);
    int halt[2];
    ASSERT_EQ(::pipe(halt), 0);
    const pid_t tauscher = ::fork();
    if (tauscher == 0) {
      ::close(halt[1]);
      if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) _exit(3);
      pollfd p{halt[0], POLLIN, 0};
      for (long i = 0; i < 50'000'000; ++i) {
        if (::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) != 0) _exit(4);
        if (i % 256 == 0 && ::poll(&p, 1, 0) != 0) break;
      }
      _exit(0);
    }
    ::close(halt[0]);
    imKind([&] {
      for (int i = 0; i < 2000 && lesen(geheim) == vorher; ++i) {
        ::alarm(20);
        f.MKommentar = "neu";
        f.BitBWeiterClick();
      }
      ::alarm(0);
    });
    ::close(halt[1]);
    int status = 0;
    ::waitpid(tauscher, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(lesen(geheim) == vorher) << "Die Datei von root wurde beschrieben.";
    struct stat nachher {};
    ASSERT_EQ(::stat(geheim.c_str(), &nachher), 0);
    EXPECT_EQ(std::tuple(nachher.st_uid, nachher.st_mode & 07777), std::tuple(0u, 0600u));
  }
}

}  // namespace
}  // namespace mosaik::test
