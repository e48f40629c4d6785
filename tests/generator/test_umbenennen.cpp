#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "AlsNobody.h"
#include "DurchlaufTestbasis.h"
#include "generator/Uebersichtsseiten.h"
#include "generator/Umbenennen.h"
#include "generator/Verzeichnis.h"
#include "platform/CheckedFolders.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

struct Umbenennen : test::MitOptionen {
  std::string d;
  void SetUp() override {
    test::MitOptionen::SetUp();
    d = tmp.pfad();
  }
  void schreiben(const std::string& name, const std::string& inhalt) { std::ofstream(d + name) << inhalt; }
  std::string lesen(const std::string& name) { return fs::readFile(d + name).value_or("<fehlt>"); }
  // The files below a folder as "name<content" where the content is not the
  // name: a file written holding its first name shows where it went.
  static std::string liste(const std::string& ordner) {
    std::string s;
    for (const auto& [name, inhalt] : test::inhalte(ordner)) {
      if (!s.empty()) s += " ";
      s += name == inhalt ? name : name + "<" + inhalt;
    }
    return s;
  }
};

TEST_F(Umbenennen, WebsichereNamenInUtf8) {
  // Each step only when ticked (k lower case, u umlauts, l blanks; other
  // characters when a list is given), in order: lower case before umlauts.
  // Only the letter case changed: no flag.
  const struct {
    std::string schalter;
    const char* liste;
    const char* name;
    const char* erwartet;
    bool geaendert;
  } faelle[] = {
      {"kul", "", "Äpfel & Birnen.JPG", "aepfel_&_birnen.jpg", true},
      {"kul", "&", "Äpfel & Birnen.JPG", "aepfel___birnen.jpg", true},
      {"kul", "!", "Äpfel & Birnen!.JPG", "aepfel_&_birnen_.jpg", true},
      {"kul", "", "Foto.JPG", "foto.jpg", false},
      {"kul", "", "Straße Öl Über.jpg", "strasse_oel_ueber.jpg", true},
      // Other accented letters and characters outside Windows-1252 stay.
      {"kul", "", "Café À Ēna 日本 🐟.JPEG", "café_À_Ēna_日本_🐟.jpeg", true},
      // '§' must not touch other characters that share its lead byte.
      {"kul", "!\"§$%&=?*~#':;", "¢·§.jpg", "¢·_.jpg", true},
      // Decomposed umlauts (vowel + combining diaeresis); ë is no umlaut.
      {"kul", "", "A\u0308pfel u\u0308ber e\u0308.jpg", "aepfel_ueber_e\u0308.jpg", true},
      // Names that are no UTF-8 are read as Windows-1252 and come out as
      // UTF-8, counted as changed even where only the encoding changes.
      {"kul", "", "K\xFCste Gr\xF6\xDF" "e.JPG", "kueste_groesse.jpg", true},
      {"kul", "", "caf\xE9.jpg", "caf\u00e9.jpg", true},
      // Also without the umlaut step: then the umlauts stay, in UTF-8;
      // lower case still takes Ä, Ö, Ü, and the name counts as changed even
      // with no step on at all.
      {"kl", "", "K\xDCSTE Gr\xF6\xDF" "e.JPG", "k\u00fcste_gr\u00f6\u00dfe.jpg", true},
      {"", "", "Gr\xF6\xDF" "e \x80.jpg", "Gr\u00f6\u00dfe \u20ac.jpg", true},
      {"ul", "", "Äpfel Ü\u0308.JPG", "AEpfel_UE\u0308.JPG", true},
      {"ul", "", "U\u0308ber.JPG", "UEber.JPG", true},
      {"", "", "Äpfel & ß.JPG", "Äpfel & ß.JPG", false},
      {"k", "", "ÄÖÜ XYZ.JPG", "äöü xyz.jpg", false},
  };
  for (const auto& f : faelle) {
    m.setChecked(Opt::CBKleineDateinamen, f.schalter.find('k') != std::string::npos);
    m.setChecked(Opt::CBUmlauteErsetzen, f.schalter.find('u') != std::string::npos);
    m.setChecked(Opt::CBLeerzeichenErsetzen, f.schalter.find('l') != std::string::npos);
    m.setChecked(Opt::CBAndereZeichen, *f.liste != '\0');
    m.setText(Opt::EdAndereZeichen, f.liste);
    bool g = !f.geaendert;
    EXPECT_EQ(WebsichererDateiname(k, f.name, g), f.erwartet) << f.name;
    EXPECT_EQ(g, f.geaendert) << f.name;
  }
}

// Made by root in the sticky /tmp for the run as nobody.
const std::string kFremdesBild = "/tmp/Mosaik Fremdes Bild.jpg";

TEST_F(Umbenennen, ZaehlerKollisionenBegleitdateienUndSchreibschutz) {
  if (::geteuid() == 0) {
    seitentest::schreiben(kFremdesBild, "x");
    ::chmod(kFremdesBild.c_str(), 0666);
  }
  if (test::AlsNobodyWiederholt()) {
    std::filesystem::remove(kFremdesBild);
    return;
  }
  m.setChecked(Opt::CBLinkZuTextdatei, true);
  m.setChecked(Opt::CBGrossBildLinkVideo, true);
  // The first file is handed over; '!' marks a read-only file. Switches:
  // '-' names are not replaced, '~' that option is disabled, 's' read-only
  // files are renamed, 'g' the folder may not be written.
  const struct {
    std::vector<std::string> dateien;
    std::string schalter;
    std::string uebergeben;
    bool gelingt;
    std::string neu;
    std::string ordner;
  } faelle[] = {
      {{"Foto.JPG"}, "", "Foto.JPG", true, "foto.jpg", "foto.jpg<Foto.JPG"},
      // A case-only change beside a different file of the new name counts.
      {{"Foto.JPG", "foto.jpg"}, "", "Foto.JPG", true, "foto-1.jpg", "foto-1.jpg<Foto.JPG foto.jpg"},
      {{"a b.jpg", "a_b.jpg", "a_b-1.jpg"}, "", "a b.jpg", true, "a_b-2.jpg", "a_b-1.jpg a_b-2.jpg<a b.jpg a_b.jpg"},
      {{"a_b.jpg"}, "", "a_b.jpg", true, "a_b.jpg", "a_b.jpg"},
      // Handed over upper-cased, as the thumbnail writer does: found in its
      // own spelling.
      {{"Mini-Strand.JPG"}, "", "MINI-STRAND.JPG", true, "mini-strand.jpg", "mini-strand.jpg<Mini-Strand.JPG"},
      // Side files follow the picture, also to a counted name; audio is not
      // asked for.
      {{"Bild 1.jpg", "Bild 1.TXT", "Bild 1.MOV", "Bild 1.wav"},
       "",
       "Bild 1.jpg",
       true,
       "bild_1.jpg",
       "Bild 1.wav bild_1.jpg<Bild 1.jpg bild_1.mov<Bild 1.MOV bild_1.txt<Bild 1.TXT"},
      {{"Bild 2.jpg", "bild_2.jpg", "Bild 2.txt"},
       "",
       "Bild 2.jpg",
       true,
       "bild_2-1.jpg",
       "bild_2-1.jpg<Bild 2.jpg bild_2-1.txt<Bild 2.txt bild_2.jpg"},
      // A taken side-file name counts as taken for the picture too.
      {{"Bild 3.jpg", "Bild 3.txt", "bild_3.txt"},
       "",
       "Bild 3.jpg",
       true,
       "bild_3-1.jpg",
       "bild_3-1.jpg<Bild 3.jpg bild_3-1.txt<Bild 3.txt bild_3.txt"},
      // A companion spelled exactly like another picture is that one's; a
      // folder or a pipe is none.
      {{"Foto.JPG", "foto.jpg", "foto.txt"}, "", "Foto.JPG", true, "foto-1.jpg", "foto-1.jpg<Foto.JPG foto.jpg foto.txt"},
      {{"Kdir.JPG", "Kdir.txt/x", "|Kdir.MOV"}, "", "Kdir.JPG", true, "kdir.jpg", "Kdir.txt/x kdir.jpg<Kdir.JPG"},
      {{"Ein Bild.jpg"}, "-", "Ein Bild.jpg", true, "Ein Bild.jpg", "Ein Bild.jpg"},
      {{"Ein Bild.jpg"}, "~", "Ein Bild.jpg", true, "Ein Bild.jpg", "Ein Bild.jpg"},
      {{"!Ein Bild.jpg", "!Ein Bild.txt"}, "", "Ein Bild.jpg", true, "Ein Bild.jpg", "Ein Bild.jpg Ein Bild.txt"},
      {{"!Ein Bild.jpg", "!Ein Bild.txt"},
       "s",
       "Ein Bild.jpg",
       true,
       "ein_bild.jpg",
       "ein_bild.jpg<Ein Bild.jpg ein_bild.txt<Ein Bild.txt"},
      // A read-only companion keeps its picture's name too.
      {{"Zwei X.jpg", "!Zwei X.txt"}, "", "Zwei X.jpg", true, "Zwei X.jpg", "Zwei X.jpg Zwei X.txt"},
      // In a folder the user may not write the entries keep their names
      // whatever the option says, and that is no failure.
      {{"a b.jpg"}, "sg", "a b.jpg", true, "a b.jpg", "a b.jpg"},
  };
  int nr = 0;
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.ordner);
    const std::string ordner = d + std::to_string(++nr) + "/";
    for (std::string n : f.dateien) {
      const bool nurLesen = n[0] == '!', rohr = n[0] == '|';  // read-only; a pipe
      if (nurLesen || rohr) n.erase(0, 1);
      if (rohr) {
        ASSERT_EQ(::mkfifo((ordner + n).c_str(), 0644), 0);
        continue;
      }
      seitentest::schreiben(ordner + n, n);
      if (nurLesen) ::chmod((ordner + n).c_str(), 0444);
    }
    m.setChecked(Opt::CBUngueltigeNamenErsetzen, f.schalter.find('-') == std::string::npos);
    m.setEnabled(Opt::CBUngueltigeNamenErsetzen, f.schalter.find('~') == std::string::npos);
    m.setChecked(Opt::CBSchreibschutzdateienUmbenennen, f.schalter.find('s') != std::string::npos);
    if (f.schalter.find('g') != std::string::npos) ::chmod(ordner.c_str(), 0555);
    std::string n = f.uebergeben;
    EXPECT_EQ(DateiWebsicherUmbenennen(k, ordner, n), f.gelingt);
    ::chmod(ordner.c_str(), 0755);
    EXPECT_EQ(n, f.neu);
    EXPECT_EQ(liste(ordner), f.ordner);
  }

  // A picture of another user in a shared sticky folder may not be renamed
  // although both are writable: it counts as read-only, and that is no
  // failure.
  if (fs::exists(kFremdesBild)) {
    std::string n = "Mosaik Fremdes Bild.jpg";
    EXPECT_TRUE(fs::entryInfo(kFremdesBild)->readOnly);
    EXPECT_TRUE(DateiWebsicherUmbenennen(k, "/tmp/", n));
    EXPECT_EQ(n, "Mosaik Fremdes Bild.jpg");
  }

  // Two names of one file (as on a file system that ignores case): a plain
  // rename, nothing lost.
  schreiben("Hart.JPG", "h");
  ASSERT_EQ(::link((d + "Hart.JPG").c_str(), (d + "hart.jpg").c_str()), 0);
  std::string n = "Hart.JPG";
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(n, "hart.jpg");
  EXPECT_EQ(lesen("hart.jpg"), "h");
}

TEST_F(Umbenennen, OrdnerBekommenDirnameTxt) {
  st.dirnametxt = true;
  // One that needs no renaming gets the file too; one whose file cannot be
  // written (here a folder stands in its place) keeps its name, reported.
  fs::forceDirectories(d + "Kein Platz/dirname.txt");
  for (const char* ordner : {"Neuer Ordner", "sicher", "Kein Platz"}) {
    fs::forceDirectories(d + ordner);
    std::string n = ordner;
    EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  }
  EXPECT_EQ(u.dialoge.texte(), std::vector<std::string>{"Die Datei " + d + "Kein Platz/dirname.txt kann nicht " +
                                                        "geschrieben werden (dort steht keine gewöhnliche " +
                                                        "Datei).\r\nDer Ordner " + d +
                                                        "Kein Platz behält seinen Namen."});
  EXPECT_TRUE(fs::folderExists(d + "Kein Platz/dirname.txt"));
  // Windows-1252 where it reads back as the name, else the name's own
  // bytes where they do, else UTF-8 with a byte-order mark; a file of that
  // name in any case is kept, as on a second run; nothing when the option
  // is off.
  const std::pair<const char*, std::string> namen[] = {
      {"a", "Übersee"}, {"b/", "東京 €"}, {"f", "Viel Spaß…"}, {"g", "Spa\u07C5"}, {"h", "Â©"}, {"i", "Gr\xFC\xDF" "e"}};
  for (const char* ordner : {"a", "b", "e", "f", "g", "h", "i"}) fs::forceDirectories(d + ordner);
  seitentest::schreiben(d + "c/DIRNAME.TXT", "alt");
  DirnameTxtSchreiben(k, d + "neuer_ordner", "neuer_ordner");
  for (const auto& [ordner, name] : namen) DirnameTxtSchreiben(k, d + ordner, name);
  DirnameTxtSchreiben(k, d + "c", "Neu");
  st.dirnametxt = false;
  DirnameTxtSchreiben(k, d + "e", "E");
  EXPECT_EQ(liste(d),
            "a/dirname.txt<\xDC" "bersee\r\n b/dirname.txt<東京 €\r\n c/DIRNAME.TXT<alt "
            "f/dirname.txt<Viel Spa\xDF\x85\r\n g/dirname.txt<\xEF\xBB\xBFSpa\u07C5\r\n h/dirname.txt<Â©\r\n "
            "i/dirname.txt<Gr\xFC\xDF" "e\r\n "
            "neuer_ordner/dirname.txt<Neuer Ordner\r\n sicher/dirname.txt<sicher\r\n");
  for (const auto& [ordner, name] : namen)
    EXPECT_EQ(DirnameErsteZeile(d + ordner), std::string(ordner) == "i" ? "Grüße" : name) << ordner;
}

// A folder that holds one the run writes into keeps its name (and gets no
// dirname.txt): renamed, it would take that folder from its checked path.
TEST_F(Umbenennen, OrdnerMitAusgabeordnerBehaeltSeinenNamen) {
  st.dirnametxt = true;
  fs::forceDirectories(d + "Mit Ausgabe/vorschau");
  fs::CheckedFolders geprueft;
  std::string n = "Mit Ausgabe", warum;
  ASSERT_TRUE(geprueft.add(d, false, warum) && geprueft.add(d + "Mit Ausgabe/vorschau/", false, warum)) << warum;
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(n + "|" + liste(d), "Mit Ausgabe|");
  EXPECT_TRUE(geprueft.breach().empty());
}

TEST_F(Umbenennen, BegleitdateienKopieren) {
  m.setChecked(Opt::CBLinkZuTextdatei, true);
  m.setChecked(Opt::CBLinkZuAudio, true);
  for (const char* n : {"Bild.jpg", "Bild.TXT", "Bild.mp3", "Bild.mov"}) seitentest::schreiben(d + "q/" + n, n);
  seitentest::schreiben(d + "z/-gross-bild.txt", "-gross-bild.txt");
  EXPECT_TRUE(BegleitdateienKopieren(k, d + "q", d + "z", "Bild.jpg", "-gross-bild.jpg"));
  // Video is not asked for; an older copy is replaced; the originals stay.
  EXPECT_EQ(liste(d + "z"), "-gross-bild.mp3<Bild.mp3 -gross-bild.txt<Bild.TXT");
  EXPECT_EQ(liste(d + "q"), "Bild.TXT Bild.jpg Bild.mov Bild.mp3");
  // A copy that fails is reported with both files and the reason.
  EXPECT_FALSE(BegleitdateienKopieren(k, d + "q", d + "fehlt", "Bild.jpg", "bild.jpg"));
  EXPECT_EQ(u.dialoge.texte(), std::vector<std::string>{"Die Datei " + d + "q/Bild.mp3 kann nicht nach " + d +
                                                        "fehlt/bild.mp3 kopiert werden (nicht vorhanden)."});
  EXPECT_TRUE(BegleitdateienKopieren(k, d + "q", d + "z", "Anderes.jpg", "anderes.jpg"));
}

}  // namespace
}  // namespace mosaik
