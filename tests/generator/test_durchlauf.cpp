#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>

#include "Dateigroessengrenze.h"
#include "DurchlaufTestbasis.h"
#include "generator/Ableitungsbuch.h"
#include "generator/Durchlauf.h"
#include "generator/Generierung.h"
#include "generator/Verzeichnis.h"
#include "imaging/JpegCodec.h"
#include "platform/FileSystem.h"
#include "platform/Sha256.h"

namespace mosaik {
namespace {

namespace sfs = std::filesystem;

// A small real JPEG; the seed makes every file's bytes different.
std::string jpeg(int seed) {
  imaging::RgbBitmap b(8, 6);
  for (size_t i = 0; i < b.Pixels.size(); ++i) b.Pixels[i] = static_cast<uint8_t>(seed * 37 + i * 11);
  return imaging::EncodeJpeg(b, 75, false);
}

const auto datei = seitentest::schreiben;

using test::inhalte;

// The pictures' sizes in place of their bytes: reduced copies are no longer
// the originals' bytes, but each keeps the original's size (the pictures
// are smaller than the large-image size).
std::map<std::string, std::string> abmessungen(std::map<std::string, std::string> m) {
  for (auto& [name, inhalt] : m) {
    const std::string e = sfs::path(name).extension().string();
    if (e != ".jpg" && e != ".jpeg") continue;
    const imaging::JpegInfo info = imaging::ReadJpegInfo(inhalt);
    inhalt = std::to_string(info.Width) + "x" + std::to_string(info.Height);
  }
  return m;
}

struct Durchlauf : test::MitOptionen {
  std::string q;  // the picture folder

  void SetUp() override {
    test::MitOptionen::SetUp();
    q = tmp.pfad() + "fotos/";
    fs::forceDirectories(q);
    st.BilderOrdnerPfad = q;
    st.Autostart = true;
  }
  // A run that succeeds without a message.
  void laeuft() {
    u.dialoge.meldungen.clear();
    EXPECT_TRUE(BitBStartClick(lauf));
    EXPECT_EQ(u.dialoge.texte(), std::vector<std::string>{});
  }
  // A run that fails with this one message.
  void fehler(const std::string& text) {
    u.dialoge.meldungen.clear();
    EXPECT_FALSE(BitBStartClick(lauf));
    EXPECT_EQ(u.dialoge.texte(), std::vector<std::string>{text + "\r\nProgrammabbruch!"});
  }

  // Every regular file below the picture folder but the gallery's.
  std::map<std::string, std::string> originale() const {
    auto m = inhalte(q);
    std::erase_if(m, [](const auto& e) { return e.first.rfind("html/", 0) == 0; });
    return m;
  }
};

TEST_F(Durchlauf, FilterUndBilderZaehlen) {
  // Folders named like the HTML or thumbnail folder are skipped at every
  // depth; read-only pictures and folders need the read-only box.
  for (const char* n : {"a.jpg", "b.JPG", "c.Jpeg", "d.jpe", "e.jpg.bak", ".f.jpg", "unter/g.jpg", ".versteckt/j.jpg",
                        "unter/html/h.jpg", "unter/_vorschau/i.jpg"})
    datei(q + n, "x");
  ASSERT_EQ(::mkfifo((q + "k.jpg").c_str(), 0644), 0);
  ASSERT_EQ(::symlink(q.c_str(), (q + "schleife").c_str()), 0);
  ::chmod((q + "a.jpg").c_str(), 0444);
  ::chmod((q + "unter").c_str(), 0555);
  lauf.HTMLOrdnername = "html";
  lauf.VorschauOrdnername = "_vorschau";
  const struct {
    Opt opt;
    bool an;
    int anzahl;  // the options stay as set for the rows below
  } faelle[] = {
      {Opt::CBAttrVersteckt, false, 4},
      {Opt::CBAttrVersteckt, true, 6},
      {Opt::CBTypJpeg, false, 5},
      {Opt::CBTypJpg, false, 0},
      {Opt::CBTypJpeg, true, 1},
      {Opt::CBTypJpg, true, 6},
      {Opt::CBAttrSchreibschutz, false, 4},
  };
  bool ok = true;
  for (const auto& f : faelle) {
    m.setChecked(f.opt, f.an);
    EXPECT_EQ(BilderZaehlen(lauf, q, ok), f.anzahl) << static_cast<int>(f.opt);
    EXPECT_TRUE(ok);
  }
  ::chmod((q + "unter").c_str(), 0755);
  m.setChecked(Opt::CBAttrSchreibschutz, true);
  lauf.HTMLOrdnername.clear();
  EXPECT_EQ(BilderZaehlen(lauf, q, ok), 7);
  // A cancel clears ok and counts nothing.
  u.sv.pump = [] { AbbruchFlag = 1; };
  EXPECT_EQ(BilderZaehlen(lauf, q, ok), 0);
  EXPECT_FALSE(ok);
}

TEST_F(Durchlauf, AttributeGroesseUndDatum) {
  datei(q + "Bild.TXT", std::string(1024, 'x'));
  datei(q + "b1025", std::string(1025, 'x'));
  datei(q + "b2047", std::string(2047, 'x'));
  datei(q + ".versteckt.txt", "x");
  // Found in any case; a missing file has none.
  for (auto [name, text] : {std::pair{"Bild.TXT", "1024 Bytes"}, {"bild.txt", "1024 Bytes"}, {"b1025", "1 KB"},
                            {"b2047", "1 KB"}, {"fehlt", "0 Bytes"}})
    EXPECT_EQ(DateigroesseText(q + name), text) << name;
  const int fd = ::open((q + "riesig").c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, int64_t{5} << 30), 0);  // sparse: no disk space used
  ::close(fd);
  EXPECT_EQ(DateigroesseText(q + "riesig"), "5242880 KB");

  EXPECT_TRUE(DateiattributeErlaubt(k, q + "Bild.txt"));
  EXPECT_FALSE(DateiattributeErlaubt(k, q + "fehlt.txt"));
  EXPECT_FALSE(DateiattributeErlaubt(k, q.substr(0, q.size() - 1)));  // a folder
  EXPECT_FALSE(DateiattributeErlaubt(k, q + ".versteckt.txt"));
  m.setChecked(Opt::CBAttrVersteckt, true);
  EXPECT_TRUE(DateiattributeErlaubt(k, q + ".versteckt.txt"));
  ::chmod((q + "Bild.TXT").c_str(), 0444);
  m.setChecked(Opt::CBAttrSchreibschutz, false);
  EXPECT_FALSE(DateiattributeErlaubt(k, q + "Bild.TXT"));
  m.setChecked(Opt::CBAttrSchreibschutz, true);
  m.setChecked(Opt::CBAttrArchiv, false);  // Linux has no archive bit to refuse
  EXPECT_TRUE(DateiattributeErlaubt(k, q + "Bild.TXT"));

  const uint32_t dos = (uint32_t{25} << 9 | 7u << 5 | 4u) << 16 | (8u << 11);
  EXPECT_TRUE(DateiDatumSetzen(q + "b1025", dos));
  EXPECT_EQ(fs::entryInfo(q + "b1025")->dosTime, dos);
  EXPECT_FALSE(DateiDatumSetzen(q + "fehlt", dos));
}

TEST_F(Durchlauf, OrdnerStatistikMitUndOhneRekursion) {
  // Pictures of round sizes (a readable picture, padded); a picture that
  // cannot be read counts but stands for no folder.
  const auto bild = [](size_t groesse) { return jpeg(1) + std::string(groesse - jpeg(1).size(), '\0'); };
  datei(q + "c.jpg", bild(1000));
  datei(q + "a.jpg", bild(3000));
  datei(q + "b.jpg", bild(2000));
  datei(q + "sub/x.jpg", bild(1000));
  datei(q + "sub/y.jpg", bild(1000));
  datei(q + "sub/tief/z.jpg", bild(2000));
  datei(q + "sub/tief/0.jpg", std::string(3000, 'x'));
  fs::forceDirectories(q + "leer");
  // Each recursive option adds its own figure only when enabled and ticked;
  // the options stay on for the rows below them.
  const struct {
    std::optional<Opt> an;
    std::string ordner;
    std::string erwartet;  // pictures, bytes, subfolders, the folder's picture
  } faelle[] = {
      {std::nullopt, "", "3 6000 1 a.jpg"},
      {Opt::RBDateienSortierenNachGroesse, "", "3 6000 1 c.jpg"},
      {Opt::CBDSortRueckwaerts, "", "3 6000 1 a.jpg"},
      {Opt::CBAnzeigeUnterodnerMitGroesseRek, "", "3 13000 1 a.jpg"},
      {Opt::CBUnterordnerMitAnzDateienRek, "", "7 13000 1 a.jpg"},
      {Opt::CBAnzeigeUnterodnerMitUnterordnerRek, "", "7 13000 2 a.jpg"},
      {std::nullopt, "sub/tief", "2 5000 0 z.jpg"},
      {std::nullopt, "leer", "0 0 0 "},
  };
  for (const auto& f : faelle) {
    if (f.an) m.setEnabled(*f.an, true);
    if (f.an) m.setChecked(*f.an, true);
    int anzahl = -1, unter = -1;
    int64_t bytes = -1;
    std::string erstes;
    bool ok = true;
    OrdnerStatistik(lauf, q + f.ordner, anzahl, bytes, ok, erstes, unter);
    EXPECT_TRUE(ok);
    EXPECT_EQ(std::to_string(anzahl) + " " + std::to_string(bytes) + " " + std::to_string(unter) + " " + erstes,
              f.erwartet);
  }
}

TEST_F(Durchlauf, BaumInGrossbilderGespiegeltOderAnOrtUmbenannt) {
  // A tree with umlauts, blanks, names that differ only in case, side files
  // with upper-case extensions, each file with its web-safe name. A name
  // that needs no change keeps it; the other takes the counter.
  const std::map<std::string, std::string> neuerName = {
      {"Foto.JPG", "foto-1.jpg"},
      {"foto.jpg", "foto.jpg"},
      {"Bild 1.jpg", "bild_1.jpg"},
      {"Bild 1.TXT", "bild_1.txt"},
      {"Bild 1.MOV", "bild_1.mov"},
      {"dirinfo.txt", "dirinfo.txt"},
      {"Urlaub am Meer/Strand mit Möwen.jpg", "urlaub_am_meer/strand_mit_moewen.jpg"},
      {"Urlaub am Meer/Küste.JPEG", "urlaub_am_meer/kueste.jpeg"},
      {"Urlaub am Meer/Tag 2/Hafen.jpg", "urlaub_am_meer/tag_2/hafen.jpg"},
      // Below the top too, no folder takes an output folder's name.
      {"Urlaub am Meer/HTML/Mole.jpg", "urlaub_am_meer/html-1/mole.jpg"},
      {"Urlaub/a.jpg", "urlaub-1/a.jpg"},
      {"urlaub/b.jpg", "urlaub/b.jpg"},
  };
  int nr = 0;
  for (const auto& [alt, neu] : neuerName) {
    const std::string e = sfs::path(neu).extension().string();
    datei(q + alt, e == ".jpg" || e == ".jpeg" ? jpeg(++nr) : alt);
  }
  // Besides: no pictures, a hidden folder, an empty folder, a link loop and
  // a pipe named like a picture.
  for (const char* n : {"notiz.doc", ".versteckt/c.jpg", "nur text/liesmich.txt"}) datei(q + n, n);
  fs::forceDirectories(q + "leer");
  ASSERT_EQ(::symlink(q.c_str(), (q + "schleife").c_str()), 0);
  ASSERT_EQ(::mkfifo((q + "x.jpg").c_str(), 0644), 0);
  datei(q + "Urlaub/DIRNAME.TXT", "Mein Name A\r\n");
  // Folders sorted by date: a folder keeps its date, whatever the run
  // writes into it.
  const uint32_t datum = (uint32_t{30} << 9 | 5u << 5 | 6u) << 16 | (9u << 11);
  ASSERT_TRUE(fs::setDosDateTime(q + "Urlaub am Meer", datum));
  m.setChecked(Opt::RBOrdnerSortierenNachName, false);
  m.setChecked(Opt::CBLinkZuTextdatei, true);
  m.setChecked(Opt::CBLinkZuVideo, true);
  m.setChecked(Opt::CBIndexInGrafikordnern, false);  // no redirect pages among the pictures
  st.dirnametxt = true;
  const auto vorher = originale();
  std::map<std::string, std::string> erwartet = {
      {"urlaub_am_meer/dirname.txt", "Urlaub am Meer\r\n"},
      {"urlaub_am_meer/tag_2/dirname.txt", "Tag 2\r\n"},
      {"urlaub_am_meer/html-1/dirname.txt", "HTML\r\n"},
      // The user's own name file wins over the one the walk writes.
      {"urlaub-1/dirname.txt", "Mein Name A\r\n"},
      {"urlaub/dirname.txt", "urlaub\r\n"},
  };
  for (const auto& [alt, neu] : neuerName) erwartet[neu] = vorher.at(alt);

  // Into the large-image folder; the originals stay as they are. The link
  // is never followed, and the user learns so.
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  const std::string g = q + "html/_gross/";
  for (const bool dirinfo : {false, true}) {
    SCOPED_TRACE(dirinfo);
    sfs::remove_all(q + "html");
    m.setChecked(Opt::CBdirinfoeinbinden, dirinfo);
    auto soll = erwartet;
    if (!dirinfo) soll.erase("dirinfo.txt");
    u.dialoge.meldungen.clear();
    EXPECT_TRUE(BitBStartClick(lauf)) << ::testing::PrintToString(u.dialoge.texte());
    EXPECT_EQ(u.dialoge.texte(), std::vector<std::string>{"Der Ordner " + q +
                                                          "schleife fehlt in der Galerie: Er ist eine symbolische "
                                                          "Verknüpfung, und Verknüpfungen zu Ordnern folgt "
                                                          "Mosaikschauer nicht."});
    EXPECT_EQ(originale(), vorher);
    EXPECT_EQ(abmessungen(inhalte(g)), abmessungen(soll));
  }
  EXPECT_TRUE(sfs::is_fifo(q + "x.jpg"));
  EXPECT_EQ(fs::entryInfo(g + "foto-1.jpg")->dosTime, fs::entryInfo(q + "Foto.JPG")->dosTime);
  EXPECT_TRUE(fs::folderExists(q + "html/_vorschau/urlaub_am_meer/tag_2"));
  EXPECT_FALSE(fs::exists(q + "html/_vorschau/leer"));
  // A second run finds what the first made and keeps it: no copies under
  // counted names, nothing rewritten.
  const auto gross = inhalte(g);
  EXPECT_TRUE(BitBStartClick(lauf)) << ::testing::PrintToString(u.dialoge.texte());
  EXPECT_EQ(inhalte(g), gross);
  EXPECT_EQ(originale(), vorher);

  // In place: every original is still there, byte for byte, under its new
  // name; files that are no pictures, hidden folders and the link are not
  // touched.
  m.setChecked(Opt::CBOriginaleVerkleinern, false);
  EXPECT_TRUE(BitBStartClick(lauf)) << ::testing::PrintToString(u.dialoge.texte());
  for (const char* n : {"notiz.doc", ".versteckt/c.jpg", "nur text/liesmich.txt"}) erwartet[n] = vorher.at(n);
  erwartet.erase("urlaub-1/dirname.txt");
  erwartet["urlaub-1/DIRNAME.TXT"] = "Mein Name A\r\n";
  EXPECT_EQ(originale(), erwartet);
  EXPECT_EQ(fs::entryInfo(q + "urlaub_am_meer")->dosTime, datum);
  // A second run writes the same pages.
  const auto seiten = inhalte(q + "html");
  EXPECT_TRUE(BitBStartClick(lauf));
  EXPECT_EQ(inhalte(q + "html"), seiten);
  EXPECT_TRUE(fs::folderExists(q + "leer"));
  EXPECT_TRUE(sfs::is_symlink(q + "schleife"));
}

TEST_F(Durchlauf, AbbruchNachDemEintragInDerHand) {
  for (int i = 0; i < 8; ++i) datei(q + "P" + std::to_string(i) + ".JPG", jpeg(i));
  // "Abbrechen" is pressed while the fourth picture is shown.
  u.sv.pump = [&] {
    if (std::set<std::string>(ansicht.dateien.begin(), ansicht.dateien.end()).size() >= 4) AbbruchFlag = 1;
  };
  const std::vector<std::string> abbruch = {"Programmabbruch durch den Benutzer!"};
  EXPECT_FALSE(BitBStartClick(lauf));
  EXPECT_EQ(u.dialoge.texte(), abbruch);
  int umbenannt = 0;
  for (int i = 0; i < 8; ++i) umbenannt += fs::exists(q + "p" + std::to_string(i) + ".jpg");
  EXPECT_EQ(umbenannt, 4);
  EXPECT_TRUE(fs::exists(q + "P4.JPG"));

  // In walk 1 the picture in hand is finished, the next is not begun, and
  // walk 2 does not run.
  for (int i = 0; i < 8; ++i) sfs::remove(q + "p" + std::to_string(i) + ".jpg");
  for (int i = 0; i < 8; ++i) datei(q + "P" + std::to_string(i) + ".JPG", jpeg(i));
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  ansicht.dateien.clear();
  u.dialoge.meldungen.clear();
  EXPECT_FALSE(BitBStartClick(lauf));
  EXPECT_EQ(u.dialoge.texte(), abbruch);
  EXPECT_EQ(inhalte(q + "html/_gross").size(), 3u);
  EXPECT_TRUE(fs::exists(q + "html/_gross/p2.jpg"));
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(fs::exists(q + "P" + std::to_string(i) + ".JPG"));
}

// The lines of the refusal of a folder for derived pictures that name the
// first picture the record does not prove.
std::string NichtErzeugt(const std::string& datei) {
  return "\r\nDie Datei " + datei +
         " wurde nicht von Mosaikschauer erzeugt oder seither verändert.\r\nVerschieben Sie die Datei aus dem Ordner, "
         "oder leeren Sie den Ordner für einen Neuanfang.";
}

TEST_F(Durchlauf, FehlerDerSpiegelungWerdenGemeldet) {
  datei(q + "a.jpg", jpeg(1));
  datei(q + "dirinfo.txt", "Info");
  datei(q + "Neu X/b.jpg", jpeg(2));
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  const std::string g = q + "html/_gross/";

  // No folder for derived pictures may put them on originals, also with
  // no affix and replacing on: not the tree it mirrors, nor one holding
  // it, nor a subfolder holding originals. Checked before anything is
  // written.
  datei(q + "Sub/a.jpg", jpeg(3));
  m.setText(Opt::EdErweiterungVorschaubilder, "");
  m.setChecked(Opt::CBVorschaubilderErsetzen, true);
  m.setChecked(Opt::CBGrosseBilderErsetzen, true);
  const std::string ueber = "\r\nDie Originale würden überschrieben.";
  // Wherever the HTML folder lies: also the picture folder itself, or the
  // folder of the user's pictures that is to take the derived ones.
  const std::string enthaelt = " enthält Originalbilder." + ueber;
  const struct {
    std::string AppState::*pfad;
    std::string ordner, html, text;
  } ableitungen[] = {
      {&AppState::GrosseBilderpfad, q + "./", "", "großen Bilder " + q + " ist der Bilderordner selbst." + ueber},
      {&AppState::GrosseBilderpfad, q + "Sub", "", "großen Bilder " + q + "Sub/" + enthaelt + NichtErzeugt(q + "Sub/a.jpg")},
      {&AppState::GrosseBilderpfad, q + "Sub", q, "großen Bilder " + q + "Sub/" + enthaelt + NichtErzeugt(q + "Sub/a.jpg")},
      {&AppState::GrosseBilderpfad, q + "Sub", q + "Sub",
       "großen Bilder " + q + "Sub/" + enthaelt + NichtErzeugt(q + "Sub/a.jpg")},
      {&AppState::GrosseBilderpfad, q + "Sub/Tief", q + "Sub",
       "großen Bilder " + q + "Sub/Tief/" + enthaelt + NichtErzeugt(q + "Sub/Tief/c.jpg")},
      {&AppState::GrosseBilderpfad, tmp.pfad(), "", "großen Bilder " + tmp.pfad() + " enthält den Bilderordner." + ueber},
      {&AppState::Vorschaubilderpfad, q, "", "Vorschaubilder " + q + " ist der Bilderordner selbst." + ueber},
      {&AppState::Vorschaubilderpfad, q + "Sub", q, "Vorschaubilder " + q + "Sub/" + enthaelt + NichtErzeugt(q + "Sub/a.jpg")},
      {&AppState::Vorschaubilderpfad, q + "Sub", q + "Sub",
       "Vorschaubilder " + q + "Sub/" + enthaelt + NichtErzeugt(q + "Sub/a.jpg")},
      {&AppState::Vorschaubilderpfad, g, "",
       "Vorschaubilder " + g + " ist der Ordner für die großen Bilder selbst.\r\nDie großen Bilder würden überschrieben."},
      // Outside the picture tree, and below the HTML folder.
      {&AppState::GrosseBilderpfad, tmp.pfad() + "O", "",
       "großen Bilder " + tmp.pfad() + "O/" + enthaelt + NichtErzeugt(tmp.pfad() + "O/a.jpg")},
      {&AppState::GrosseBilderpfad, q + "arch/2019", q + "arch",
       "großen Bilder " + q + "arch/2019/" + enthaelt + NichtErzeugt(q + "arch/2019/a.jpg")},
  };
  datei(q + "Sub/Tief/c.jpg", jpeg(4));
  datei(q + "arch/2019/a.jpg", jpeg(5));
  datei(tmp.pfad() + "O/a.jpg", jpeg(6));
  // A copy made in one go gives the user's photos one time: neither that
  // nor a name nor a size shows a file to be a derived picture.
  for (const std::string& a : {q + "a.jpg", q + "Sub/a.jpg", q + "arch/2019/a.jpg", tmp.pfad() + "O/a.jpg"})
    ASSERT_TRUE(fs::setDosDateTime(a, (uint32_t{44} << 9 | 5u << 5 | 1u) << 16));
  const auto fremd = inhalte(tmp.pfad() + "O");
  const auto vorher = originale();
  for (const auto& f : ableitungen) {
    SCOPED_TRACE(f.ordner + " in " + f.html);
    st.*f.pfad = f.ordner;
    st.HTMLOrdnerPfad = f.html;
    fehler("Der Ordner für die " + f.text);
    st.*f.pfad = "";
  }
  st.HTMLOrdnerPfad = "";
  // A large-image affix in front that makes hidden names; behind the name
  // the same affix is harmless.
  m.setText(Opt::EdErweiterungGrosseBilder, ".x");
  m.setChecked(Opt::RBVorneGrosseBilder, true);
  fehler("Der Namenszusatz .x der großen Bilder beginnt mit einem Punkt: so benannte Bilder wären versteckt und "
         "fehlten in der Galerie.");
  m.setChecked(Opt::RBhintenGrosseBilder, true);
  EXPECT_TRUE(BitBStartClick(lauf));
  EXPECT_TRUE(fs::exists(q + "html/_gross/a.x.jpg"));
  sfs::remove_all(q + "html");
  m.setChecked(Opt::RBVorneGrosseBilder, true);
  m.setText(Opt::EdErweiterungGrosseBilder, "");
  EXPECT_EQ(originale(), vorher);
  EXPECT_EQ(inhalte(tmp.pfad() + "O"), fremd);
  EXPECT_FALSE(fs::exists(q + "html"));
  sfs::remove_all(q + "Sub");
  sfs::remove_all(q + "arch");

  // "dirinfo.txt" cannot be copied: a folder stands in its place.
  fs::forceDirectories(g + "dirinfo.txt/x");
  fehler("Die Datei " + q + "dirinfo.txt kann nicht nach " + g +
         "dirinfo.txt kopiert werden (dort steht keine gewöhnliche Datei).");
  EXPECT_FALSE(m.enabled(Opt::BitBErgebnisAnsehen));
  sfs::remove_all(g + "dirinfo.txt");

  // A subfolder cannot be created: a file stands in its place.
  sfs::remove_all(g + "neu_x");
  datei(g + "neu_x", "im Weg");
  fehler("Kann das Verzeichnis " + g + "neu_x/ nicht erstellen.");
  sfs::remove(g + "neu_x");

  // A large image that cannot be written is reported per picture; the walk
  // goes on.
  m.setChecked(Opt::CBGrosseBilderErsetzen, true);
  sfs::remove(g + "a.jpg");
  ASSERT_TRUE(fs::forceDirectories(g + "a.jpg/x"));
  u.dialoge.meldungen.clear();
  EXPECT_TRUE(BitBStartClick(lauf));
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u) << ::testing::PrintToString(u.dialoge.texte());
  EXPECT_EQ(u.dialoge.meldungen[0].text.rfind("Fehler beim Verkleinern des Originalbildes a.jpg:\r\n", 0), 0u);
  EXPECT_TRUE(fs::exists(g + "neu_x/b.jpg"));

  // After a first run, an original named like a large image (a second
  // camera's) but of another size and date is still the user's.
  imaging::RgbBitmap gross(16, 12);
  datei(q + "Sub/a.jpg", imaging::EncodeJpeg(gross, 75, false));
  ASSERT_TRUE(fs::setDosDateTime(q + "Sub/a.jpg", (uint32_t{30} << 9 | 1u << 5 | 1u) << 16));
  const auto zweiterLauf = originale();
  st.GrosseBilderpfad = q + "Sub";
  fehler("Der Ordner für die großen Bilder " + q + "Sub/ enthält Originalbilder." + ueber + NichtErzeugt(q + "Sub/a.jpg"));
  EXPECT_EQ(originale(), zweiterLauf);
}

// A link to a folder inside an output folder (nobody's, to a folder of
// root's; the output folders themselves: tests/cli/fremde_verknuepfungen.sh)
// stops the run before anything is written, wherever the run would go
// through it: a mirrored folder of walk 1 or 2, or a folder of pages. The
// picture folder behind such a link is not read. Root's folder stays as it
// was.
TEST_F(Durchlauf, OrdnerUeberVerknuepfungenAndererBenutzerWerdenNichtBeschrieben) {
  if (::geteuid() != 0) GTEST_SKIP() << "Verknüpfungen eines anderen Benutzers kann nur root anlegen.";
  const std::string r = tmp.pfad() + "R/";
  const std::string grund = " ist eine symbolische Verknüpfung, die ein anderer Benutzer angelegt hat.";
  datei(r + "index.htm", "ROOT");
  datei(q + "a.jpg", jpeg(1));
  datei(q + "sub/b.jpg", jpeg(2));
  const auto fremderLink = [](const std::string& ziel, const std::string& link) {
    sfs::create_directories(sfs::path(link).parent_path());
    ASSERT_EQ(::symlink(ziel.c_str(), link.c_str()), 0);
    ASSERT_EQ(::lchown(link.c_str(), 65534, 65534), 0);
  };
  for (const std::string l : {"html/_vorschau/sub", "html/_gross/sub", "html/sub"}) {  // walk 2, walk 1, pages
    SCOPED_TRACE(l);
    sfs::remove_all(q + "html");
    fremderLink(r, q + l);
    m.setChecked(Opt::CBOriginaleVerkleinern, l == "html/_gross/sub");
    const std::string ordner = q + l.substr(0, l.rfind('/') + 1);
    fehler("Der Ordner " + ordner + " enthält die symbolische Verknüpfung " + q + l +
           ", die zu einem Ordner führt.\r\nMosaikschauer schreibt nicht durch Verknüpfungen: Entfernen Sie sie, "
           "oder wählen Sie einen anderen Ordner.");
    EXPECT_EQ(inhalte(r), (std::map<std::string, std::string>{{"index.htm", "ROOT"}}));
    EXPECT_FALSE(fs::exists(q + "html/index.htm"));
  }
  sfs::remove_all(q + "html");
  fremderLink(q, tmp.pfad() + "weg");
  st.BilderOrdnerPfad = tmp.pfad() + "weg/";
  fehler("Der Bilderordner " + tmp.pfad() + "weg/ wird nicht gelesen.\r\n" + tmp.pfad() + "weg" + grund);
  EXPECT_FALSE(fs::exists(q + "html"));
}

TEST_F(Durchlauf, GalerieImBilderordnerWiederholbarOhneOriginaleZuUeberschreiben) {
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  m.setChecked(Opt::CBGrosseBilderErsetzen, true);
  m.setChecked(Opt::CBVorschaubilderErsetzen, true);
  // Layouts that keep working on every rerun, also after an original was
  // deleted (its large image and thumbnail stay behind): the gallery in the
  // picture folder with the output folders the program names, and output
  // folders inside an HTML folder of the gallery's own.
  const struct {
    std::string html, gross, vorschau;
  } layouts[] = {{"", "", ""}, {".", "", ""}, {"web", "", ""}, {"web", "web/gross", "web/klein"}, {"web", "", "web"}};
  int nr = 0;
  for (const auto& l : layouts) {
    const std::string b = tmp.pfad() + "L" + std::to_string(++nr) + "/";
    SCOPED_TRACE(b + " html=" + l.html + " gross=" + l.gross + " vorschau=" + l.vorschau);
    datei(b + "a.jpg", jpeg(1));
    datei(b + "b.jpg", jpeg(2));
    const auto ordner = [&b](const std::string& p) { return p.empty() ? p : b + p; };
    st.BilderOrdnerPfad = b;
    st.HTMLOrdnerPfad = ordner(l.html);
    st.GrosseBilderpfad = ordner(l.gross);
    st.Vorschaubilderpfad = ordner(l.vorschau);
    const auto a = *fs::readFile(b + "a.jpg");
    for (const bool loeschen : {false, false, true}) {
      if (loeschen && l.vorschau == "web") continue;  // its thumbnails are checked like any picture there
      if (loeschen) sfs::remove(b + "b.jpg");
      u.dialoge.meldungen.clear();
      EXPECT_TRUE(BitBStartClick(lauf)) << ::testing::PrintToString(u.dialoge.texte());
      EXPECT_TRUE(u.dialoge.meldungen.empty()) << ::testing::PrintToString(u.dialoge.texte());
      EXPECT_EQ(*fs::readFile(b + "a.jpg"), a);
    }
  }

  // A second run after one of the gallery in the picture folder: a folder
  // of the user's own pictures, one named like a picture of the top, is
  // refused as a folder for derived pictures, before anything is written.
  const std::string b = tmp.pfad() + "L1/";
  st.BilderOrdnerPfad = b;
  st.HTMLOrdnerPfad = b;
  st.GrosseBilderpfad = st.Vorschaubilderpfad = "";
  EXPECT_TRUE(BitBStartClick(lauf)) << ::testing::PrintToString(u.dialoge.texte());
  datei(b + "Sub/a.jpg", imaging::EncodeJpeg(imaging::RgbBitmap(16, 12), 75, false));
  datei(b + "Sub/c.jpg", jpeg(3));
  m.setText(Opt::EdErweiterungVorschaubilder, "");
  const auto vorher = inhalte(b);
  st.GrosseBilderpfad = b + "Sub";
  fehler("Der Ordner für die großen Bilder " + b + "Sub/ enthält Originalbilder.\r\nDie Originale würden überschrieben." +
         NichtErzeugt(b + "Sub/a.jpg"));
  st.GrosseBilderpfad = "";
  st.Vorschaubilderpfad = b + "Sub";
  fehler("Der Ordner für die Vorschaubilder " + b + "Sub/ enthält Originalbilder.\r\nDie Originale würden überschrieben." +
         NichtErzeugt(b + "Sub/a.jpg"));
  EXPECT_EQ(inhalte(b), vorher);
}

// Folders of the user's choosing keep a record of what the run wrote there:
// run after run that is replaced, a file of the user's is not.
TEST_F(Durchlauf, AndereOrdnerFuerAbgeleiteteBilderFuehrenBuch) {
  datei(q + "a.jpg", jpeg(1));
  datei(q + "a.txt", "zu a");
  datei(q + "b.jpg", jpeg(2));
  datei(q + "Tag/c.jpg", jpeg(3));
  datei(q + "Tag/dirinfo.txt", "Info");
  datei(q + "Tag/dirname.txt", "Der Tag");
  datei(q + "Nacht/d.jpg", jpeg(4));
  const std::string o = tmp.pfad() + "O/", t = tmp.pfad() + "T/";
  st.GrosseBilderpfad = o;
  st.Vorschaubilderpfad = t;
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  m.setChecked(Opt::CBGrosseBilderErsetzen, true);
  m.setChecked(Opt::CBVorschaubilderErsetzen, true);
  m.setChecked(Opt::CBLinkZuTextdatei, true);
  st.dirnametxt = true;
  // What the run takes along (a picture's text file, a folder's text
  // files) leaves the user's own files of those names alone.
  datei(o + "a.txt", "meine Notiz");
  datei(o + "tag/dirinfo.txt", "meine Info");
  datei(o + "nacht/dirname.txt", "mein Name");
  const auto bleibt = [&](const std::string& von, const std::string& nach) {
    return "Die Datei " + o + nach + " wird nicht ersetzt: Sie wurde nicht von Mosaikschauer angelegt.\r\n" + q +
           von + " wird daher nicht dorthin kopiert.";
  };
  u.dialoge.meldungen.clear();
  EXPECT_FALSE(BitBStartClick(lauf));
  EXPECT_EQ(u.dialoge.texte(), (std::vector<std::string>{"Die Datei " + o +
                                                             "nacht/dirname.txt wird nicht ersetzt: Sie wurde nicht "
                                                             "von Mosaikschauer angelegt.\r\nDer frühere Name Nacht "
                                                             "des Ordners wird daher nicht dorthin geschrieben.",
                                                         bleibt("a.txt", "a.txt"),
                                                         bleibt("Tag/dirinfo.txt", "tag/dirinfo.txt") +
                                                             "\r\nProgrammabbruch!"}));
  EXPECT_EQ(inhalte(o)["a.txt"], "meine Notiz");
  EXPECT_EQ(inhalte(o)["tag/dirinfo.txt"], "meine Info");
  EXPECT_EQ(inhalte(o)["nacht/dirname.txt"], "mein Name");
  sfs::remove_all(o);
  // The name file the run wrote gives way to the picture folder's.
  laeuft();
  EXPECT_EQ(inhalte(o)["tag/dirname.txt"], "Der Tag");
  // Another size and a changed text: made anew (same bytes would be
  // replaced without the record).
  m.setSpin(Opt::SpEdGroesseGrosseBilder, 16);
  m.setChecked(Opt::CBkleineBilderVergroessernGrosseBilder, true);
  datei(q + "a.txt", "zu a, neu");
  laeuft();
  EXPECT_EQ(abmessungen(inhalte(o))["a.jpg"], "16x12");
  EXPECT_EQ(inhalte(o)["a.txt"], "zu a, neu");
  // Kept, while its original took another date: the record follows it.
  m.setChecked(Opt::CBGrosseBilderErsetzen, false);
  ASSERT_TRUE(fs::setDosDateTime(q + "a.jpg", (uint32_t{41} << 9 | 2u << 5 | 3u) << 16));
  laeuft();
  laeuft();
  // An original deleted: what it left behind is still the gallery's.
  sfs::remove(q + "b.jpg");
  laeuft();
  // A record grown long by runs that replaced the pictures again and again
  // is written anew with the files still there (a.jpg, a.txt, b.jpg).
  struct stat a {};
  ASSERT_EQ(::stat((o + "a.jpg").c_str(), &a), 0);
  std::string grund;
  const Verzeichnet eintrag{"a.jpg", a, sha256Hex(*fs::readFile(o + "a.jpg"))};
  Ableitungsbuch lang(o);
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(lang.eintragen(eintrag, grund)) << grund;
  laeuft();
  const std::string buch = *fs::readFile(o + kAbleitungsbuch);
  EXPECT_EQ(std::count(buch.begin(), buch.end(), '\n'), 4) << buch;
  laeuft();
  // Filled by another user's runs (the same person without sudo): root's
  // run takes the record over, so that what root writes counts later on.
  if (::geteuid() == 0) {
    for (const auto& e : sfs::recursive_directory_iterator(o)) ASSERT_EQ(::lchown(e.path().c_str(), 65534, 65534), 0);
    m.setChecked(Opt::CBGrosseBilderErsetzen, true);
    laeuft();
    laeuft();
  }

  // A photo written over a thumbnail in a subfolder, with its name and
  // time: stopped before anything is written.
  const auto zeit = fs::modTime(t + "tag/mini-c.jpg");
  datei(t + "tag/mini-c.jpg", jpeg(8));
  ASSERT_TRUE(fs::setModTime(t + "tag/mini-c.jpg", *zeit));
  const auto vorher = inhalte(tmp.pfad());
  fehler("Der Ordner für die Vorschaubilder " + t + " enthält Originalbilder.\r\nDie Originale würden überschrieben." +
         NichtErzeugt(t + "tag/mini-c.jpg"));
  EXPECT_EQ(inhalte(tmp.pfad()), vorher);
}

TEST_F(Durchlauf, NamenDieSichNurInGrossUndKleinschreibungUnterscheiden) {
  // Each picture its own large image and thumbnail, on every run.
  datei(q + "Foto.jpg", imaging::EncodeJpeg(imaging::RgbBitmap(40, 30), 75, false));
  datei(q + "foto.jpg", imaging::EncodeJpeg(imaging::RgbBitmap(30, 40), 75, false));
  m.setChecked(Opt::CBKleineDateinamen, false);
  const auto bilder = [](const std::string& ordner) {
    auto b = abmessungen(inhalte(ordner));
    std::erase_if(b, [](const auto& e) { return sfs::path(e.first).extension() != ".jpg"; });
    return b;
  };
  const std::map<std::string, std::string> gross = {{"Foto.jpg", "40x30"}, {"foto.jpg", "30x40"}};
  const std::map<std::string, std::string> klein = {{"mini-Foto.jpg", "40x30"}, {"mini-foto.jpg", "30x40"}};
  for (const bool verkleinern : {true, false})
    for (const bool websicher : {true, false}) {
      SCOPED_TRACE(std::string(verkleinern ? "verkleinert" : "Originale") + (websicher ? " websicher" : ""));
      m.setChecked(Opt::CBOriginaleVerkleinern, verkleinern);
      m.setChecked(Opt::CBUngueltigeNamenErsetzen, websicher);
      sfs::remove_all(q + "html");
      for (int n = 0; n < 2; ++n) {
        EXPECT_TRUE(BitBStartClick(lauf)) << ::testing::PrintToString(u.dialoge.texte());
        EXPECT_EQ(bilder(q + "html/_vorschau"), klein);
        if (verkleinern) { EXPECT_EQ(bilder(q + "html/_gross"), gross); }
      }
      const std::string seite = *fs::readFile(q + "html/index.htm");
      for (const auto& [name, groesse] : klein) EXPECT_NE(seite.find("_vorschau/" + name), std::string::npos) << name;
    }
}

// Every file the run cannot write is named with the system's reason, here
// a file-size limit: large images, thumbnails, the style sheet, pages and
// redirect pages.
TEST_F(Durchlauf, SchreibfehlerNennenDateiUndGrund) {
  datei(q + "a.jpg", jpeg(1));
  const std::string grund = " kann nicht geschrieben werden (die Datei würde zu groß).";
  const std::string h = q + "html/";
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  m.setChecked(Opt::CBIndexInGrafikordnern, true);
  {
    const test::Dateigroessengrenze grenze(300);
    EXPECT_FALSE(BitBStartClick(lauf));
    m.setChecked(Opt::CBOriginaleVerkleinern, false);
    m.setChecked(Opt::CBAndereCSSDatei, true);
    EXPECT_FALSE(BitBStartClick(lauf));
  }
  EXPECT_EQ(u.dialoge.texte(), (std::vector<std::string>{
                       "Fehler beim Verkleinern des Originalbildes a.jpg:\r\nDie Datei " + h + "_gross/a.jpg" + grund,
                       "Speichern der StyleSheet-Datei " + h + "meinebilder.css\r\nfehlgeschlagen!\r\nDie Datei " + h +
                           "meinebilder.css" + grund,
                       "Das Vorschaubild von " + q + "a.jpg kann nicht erzeugt werden:\r\nDie Datei " + h +
                           "_vorschau/mini-a.jpg" + grund,
                       "Speichern der HTML-Datei " + h + "index.htm\r\nfehlgeschlagen!\r\nDie Datei " + h + "index.htm" +
                           grund,
                       "Fehler bei der Erstellung der Galerie:\r\nDie Datei " + q + "index.html" + grund +
                           "\r\nProgrammabbruch!",
                   }));
}

TEST_F(Durchlauf, AusnahmeImDurchlaufIstEinFehlschlag) {
  datei(q + "a.jpg", jpeg(1));
  ansicht.beiDatei = [](const std::string&) { throw std::runtime_error("Datenträger entfernt"); };
  fehler("Fehler bei der Erstellung der Galerie:\r\nDatenträger entfernt");
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Error);
  EXPECT_EQ(ansicht.begonnen, 1);
  EXPECT_EQ(ansicht.beendet, 1);
  EXPECT_FALSE(m.enabled(Opt::BitBErgebnisAnsehen));
}

TEST_F(Durchlauf, UmbenennfehlerNennenDasAlteZiel) {
  // The longest names a folder can hold: the counter makes them too long.
  const std::string x(253, 'x');
  datei(q + "N" + x + "/b.jpg", jpeg(1));
  datei(q + "n" + x + "/c.jpg", jpeg(1));
  fehler("Kann das Verzeichnis " + q + "N" + x + "/ nicht umbenennen zu n" + x + "-1.\r\nWenn dies ein erneuter " +
         "Durchlauf des Programms ist, hilft es vermutlich, das Zielverzeichnis zu löschen.\r\n");
  EXPECT_TRUE(fs::exists(q + "N" + x + "/b.jpg"));
  sfs::remove_all(q + "N" + x);

  datei(q + "B" + x.substr(3) + ".jpg", jpeg(2));
  datei(q + "b" + x.substr(3) + ".jpg", jpeg(3));
  fehler("Kann den Dateinamen " + q + "B" + x.substr(3) + ".jpg nicht ersetzen.");
}

TEST_F(Durchlauf, GrossbildordnerTragenDasDatumIhrerQuelle) {
  datei(q + "Urlaub am Meer/Tag 2/Hafen.jpg", jpeg(1));
  const uint32_t aussen = (uint32_t{20} << 9 | 3u << 5 | 9u) << 16 | (10u << 11);
  const uint32_t innen = (uint32_t{21} << 9 | 4u << 5 | 1u) << 16 | (11u << 11 | 7u);
  ASSERT_TRUE(fs::setDosDateTime(q + "Urlaub am Meer/Tag 2", innen));
  ASSERT_TRUE(fs::setDosDateTime(q + "Urlaub am Meer", aussen));
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  st.dirnametxt = true;
  const std::string g = tmp.pfad() + "gross/";
  fs::forceDirectories(g);
  bool ok = true;
  const auto liste = [&] {
    std::string s;
    for (const auto& e : lauf.Ordnerliste) s += e.Name + ">" + e.Zielname + "@" + std::to_string(e.Datum) + " ";
    return s;
  };
  OriginaleVerkleinernDurchlauf(lauf, q, g, true, "", -1, ok);
  EXPECT_TRUE(ok) << ::testing::PrintToString(u.dialoge.texte());
  EXPECT_EQ(liste(),
            "Urlaub am Meer>urlaub_am_meer@" + std::to_string(aussen) + " Tag 2>tag_2@" + std::to_string(innen) + " ");
  EXPECT_EQ(lauf.OrdnerlisteHigh, 1);
  EXPECT_EQ(fs::entryInfo(g + "urlaub_am_meer")->dosTime, aussen);
  EXPECT_EQ(fs::entryInfo(g + "urlaub_am_meer/tag_2")->dosTime, innen);
  // Walk 2 reads the dates from the large-image folders.
  lauf.Ordnerliste.clear();
  GalerieDurchlauf(lauf, g, "", true, "", -1, ok);
  EXPECT_EQ(liste(),
            "urlaub_am_meer>urlaub_am_meer@" + std::to_string(aussen) + " tag_2>tag_2@" + std::to_string(innen) + " ");
  // Without subfolders nothing is created, the folder is still listed.
  lauf.Ordnerliste.clear();
  const std::string g2 = tmp.pfad() + "gross2/";
  fs::forceDirectories(g2);
  OriginaleVerkleinernDurchlauf(lauf, q, g2, false, "", -1, ok);
  ASSERT_EQ(lauf.Ordnerliste.size(), 1u);
  EXPECT_TRUE(std::filesystem::is_empty(g2));
  // A name file that cannot be written is named with its reason; the walk
  // goes on.
  const std::string g3 = tmp.pfad() + "gross3/urlaub_am_meer/tag_2/";
  fs::forceDirectories(g3 + "dirname.txt");
  OriginaleVerkleinernDurchlauf(lauf, q, tmp.pfad() + "gross3/", true, "", -1, ok);
  EXPECT_TRUE(fs::fileExists(g3 + "hafen.jpg"));
  EXPECT_EQ(u.dialoge.texte(), std::vector<std::string>{"Die Datei " + g3 + "dirname.txt kann nicht geschrieben "
                                                        "werden (dort steht keine gewöhnliche Datei)."});
}

TEST_F(Durchlauf, OhneUnterordnerBleibtUnterDemOberstenOrdnerAllesWieEsWar) {
  datei(q + "IMG_1001.JPG", jpeg(1));
  datei(q + "Mein Urlaub/IMG 2001.JPG", jpeg(2));
  datei(q + "Mein Urlaub/Tag 1/a.jpg", jpeg(3));
  st.dirnametxt = true;
  m.setChecked(Opt::CBIndexInGrafikordnern, true);
  // An earlier run with subfolders made the folders of the large images
  // and thumbnails; their name files and redirect pages are gone since.
  m.setChecked(Opt::CBOriginaleVerkleinern, true);
  ASSERT_TRUE(BitBStartClick(lauf)) << ::testing::PrintToString(u.dialoge.texte());
  for (const char* n : {"_gross/mein_urlaub/dirname.txt", "_gross/mein_urlaub/index.html",
                        "_gross/mein_urlaub/tag_1/index.html", "_vorschau/mein_urlaub/index.html"})
    ASSERT_TRUE(sfs::remove(q + "html/" + n)) << n;
  const auto unten = [&] {  // "Mein Urlaub/", "html/_gross/mein_urlaub/", "html/_vorschau/mein_urlaub/"
    auto u = inhalte(q);
    std::erase_if(u, [](const auto& e) { return e.first.find("rlaub/") == std::string::npos; });
    return u;
  };
  const auto vorher = unten();
  m.setChecked(Opt::CBmitUnterverzeichnissen, false);
  for (const bool verkleinern : {true, false}) {
    SCOPED_TRACE(verkleinern);
    m.setChecked(Opt::CBOriginaleVerkleinern, verkleinern);
    EXPECT_TRUE(BitBStartClick(lauf)) << ::testing::PrintToString(u.dialoge.texte());
    EXPECT_EQ(unten(), vorher);
  }
  // The top folder is the gallery's: renamed, with its redirect pages.
  EXPECT_TRUE(fs::fileExists(q + "img_1001.jpg"));
  EXPECT_TRUE(fs::fileExists(q + "html/_gross/index.html"));
}

TEST_F(Durchlauf, OrdnerlisteLaeufeSortiertUndOhneUnterordnerNurOben) {
  for (const char* n : {"b/1.jpg", "A/1.jpg", "c/z/1.jpg", "c/y/1.jpg", "c/x/leer.txt"}) datei(q + n, jpeg(1));
  st.dirnametxt = false;
  // Without a thumbnail folder nothing is made beside the working folder.
  test::TempOrdner arbeit;
  ASSERT_TRUE(fs::setCurrentFolder(arbeit.pfad()));
  bool ok = true;
  const auto folge = [&](bool rekursiv) {
    lauf.Ordnerliste.clear();
    GalerieDurchlauf(lauf, q, "", rekursiv, "", -1, ok);
    std::string f;
    for (const auto& e : lauf.Ordnerliste) f += e.Name + " ";
    return f;
  };
  // Each folder's subfolders are one run, sorted, appended as the walk
  // descends in that order.
  EXPECT_EQ(folge(true), "a b c y z ");
  EXPECT_TRUE(ok);
  EXPECT_EQ(lauf.OrdnerlisteHigh, 4);
  EXPECT_TRUE(lauf.Bildliste.empty());

  m.setChecked(Opt::CBOSortRueckwaerts, true);
  m.setChecked(Opt::CBOrdnerSortieren, false);  // reversed listing order
  EXPECT_EQ(folge(true), "c b a z y ");
  EXPECT_EQ(folge(false), "");  // neither listed nor entered
  EXPECT_TRUE(sfs::is_empty(arbeit.pfad()));
}

}  // namespace
}  // namespace mosaik
