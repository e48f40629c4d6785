#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "AlsNobody.h"
#include "DurchlaufTestbasis.h"
#include "generator/Umbenennen.h"
#include "generator/Verzeichnis.h"
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
  std::string websicher(const std::string& name, bool& geaendert) { return WebsichererDateiname(k, name, geaendert); }
};

TEST_F(Umbenennen, WebsichereNamenInUtf8) {
  bool g = true;
  // Defaults: lower case, umlauts and blanks on, other characters off.
  EXPECT_EQ(websicher("Äpfel & Birnen.JPG", g), "aepfel_&_birnen.jpg");
  EXPECT_TRUE(g);
  m.setChecked(Opt::CBAndereZeichen, true);  // the default list holds '&'
  EXPECT_EQ(websicher("Äpfel & Birnen.JPG", g), "aepfel___birnen.jpg");
  m.setText(Opt::EdAndereZeichen, "!");
  EXPECT_EQ(websicher("Äpfel & Birnen!.JPG", g), "aepfel_&_birnen_.jpg");
  m.setText(Opt::EdAndereZeichen, "!\"§$%&=?*~#':;");

  // Only the letter case: no flag.
  EXPECT_EQ(websicher("Foto.JPG", g), "foto.jpg");
  EXPECT_FALSE(g);

  EXPECT_EQ(websicher("Straße Öl Über.jpg", g), "strasse_oel_ueber.jpg");
  // Other accented letters and characters outside Windows-1252 stay.
  EXPECT_EQ(websicher("Café À Ēna 日本 🐟.JPEG", g), "café_À_Ēna_日本_🐟.jpeg");
  // '§' in the list must not touch other characters that share its lead
  // byte.
  EXPECT_EQ(websicher("¢·§.jpg", g), "¢·_.jpg");
  EXPECT_TRUE(g);
  // Decomposed umlauts (vowel + combining diaeresis); ë is no umlaut.
  EXPECT_EQ(websicher("A\u0308pfel u\u0308ber e\u0308.jpg", g), "aepfel_ueber_e\u0308.jpg");
  EXPECT_TRUE(g);
  // Names that are no UTF-8 are read as Windows-1252 and come out as UTF-8,
  // counted as changed even where only the encoding changes.
  EXPECT_EQ(websicher("K\xFCste Gr\xF6\xDF" "e.JPG", g), "kueste_groesse.jpg");
  EXPECT_EQ(websicher("caf\xE9.jpg", g), "caf\u00e9.jpg");
  EXPECT_TRUE(g);

  // Each step only when ticked, in order: lower case before umlauts.
  m.setChecked(Opt::CBKleineDateinamen, false);
  EXPECT_EQ(websicher("Äpfel Ü\u0308.JPG", g), "AEpfel_UE\u0308.JPG");
  EXPECT_EQ(websicher("U\u0308ber.JPG", g), "UEber.JPG");
  m.setChecked(Opt::CBUmlauteErsetzen, false);
  m.setChecked(Opt::CBLeerzeichenErsetzen, false);
  m.setChecked(Opt::CBAndereZeichen, false);
  EXPECT_EQ(websicher("Äpfel & ß.JPG", g), "Äpfel & ß.JPG");
  EXPECT_FALSE(g);
  m.setChecked(Opt::CBKleineDateinamen, true);
  EXPECT_EQ(websicher("ÄÖÜ XYZ.JPG", g), "äöü xyz.jpg");
  EXPECT_FALSE(g);
}

TEST_F(Umbenennen, ZaehlerUndGrossKleinKollisionen) {
  schreiben("Foto.JPG", "gross");
  std::string n = "Foto.JPG";
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(n, "foto.jpg");
  EXPECT_EQ(lesen("foto.jpg"), "gross");
  EXPECT_FALSE(fs::exists(d + "Foto.JPG"));

  // A case-only change beside a different file of the new name counts.
  schreiben("Foto.JPG", "zweites");
  n = "Foto.JPG";
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(n, "foto-1.jpg");
  EXPECT_EQ(lesen("foto-1.jpg"), "zweites");
  EXPECT_EQ(lesen("foto.jpg"), "gross");

  schreiben("a b.jpg", "1");
  schreiben("a_b.jpg", "2");
  schreiben("a_b-1.jpg", "3");
  n = "a b.jpg";
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(n, "a_b-2.jpg");
  EXPECT_EQ(lesen("a_b-2.jpg"), "1");
  EXPECT_EQ(lesen("a_b.jpg"), "2");
  EXPECT_EQ(lesen("a_b-1.jpg"), "3");

  // Already web-safe: nothing happens, no counter.
  n = "a_b.jpg";
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(n, "a_b.jpg");
  EXPECT_FALSE(fs::exists(d + "a_b-3.jpg"));

  // Handed over upper-cased, as the thumbnail writer does: found in its own
  // spelling.
  schreiben("Mini-Strand.JPG", "m");
  n = "MINI-STRAND.JPG";
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(n, "mini-strand.jpg");
  EXPECT_EQ(lesen("mini-strand.jpg"), "m");

  // Two names of one file (as on a file system that ignores case): a plain
  // rename, nothing lost.
  schreiben("Hart.JPG", "h");
  ASSERT_EQ(::link((d + "Hart.JPG").c_str(), (d + "hart.jpg").c_str()), 0);
  n = "Hart.JPG";
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(n, "hart.jpg");
  EXPECT_EQ(lesen("hart.jpg"), "h");
}

TEST_F(Umbenennen, BegleitdateienFolgenDemBild) {
  m.setChecked(Opt::CBLinkZuTextdatei, true);
  m.setChecked(Opt::CBGrossBildLinkVideo, true);
  schreiben("Bild 1.jpg", "b");
  schreiben("Bild 1.TXT", "t");
  schreiben("Bild 1.MOV", "v");
  schreiben("Bild 1.wav", "a");  // audio is not asked for
  std::string n = "Bild 1.jpg";
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(n, "bild_1.jpg");
  EXPECT_EQ(lesen("bild_1.txt"), "t");
  EXPECT_EQ(lesen("bild_1.mov"), "v");
  EXPECT_EQ(lesen("Bild 1.wav"), "a");
  EXPECT_FALSE(fs::exists(d + "Bild 1.TXT"));

  // The picture takes a counter: its side files follow the counted name.
  schreiben("Bild 2.jpg", "b2");
  schreiben("bild_2.jpg", "anderes");
  schreiben("Bild 2.txt", "t2");
  n = "Bild 2.jpg";
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(n, "bild_2-1.jpg");
  EXPECT_EQ(lesen("bild_2-1.txt"), "t2");

  // A taken side-file name is a failure, never an overwrite.
  schreiben("Bild 3.jpg", "b3");
  schreiben("Bild 3.txt", "meins");
  schreiben("bild_3.txt", "fremd");
  n = "Bild 3.jpg";
  EXPECT_FALSE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(n, "bild_3.jpg");
  EXPECT_EQ(lesen("bild_3.txt"), "fremd");
  EXPECT_EQ(lesen("Bild 3.txt"), "meins");
}

TEST_F(Umbenennen, SchalterUndSchreibschutz) {
  if (test::AlsNobodyWiederholt()) return;
  schreiben("Ein Bild.jpg", "x");
  std::string n = "Ein Bild.jpg";
  m.setChecked(Opt::CBUngueltigeNamenErsetzen, false);
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(n, "Ein Bild.jpg");
  m.setChecked(Opt::CBUngueltigeNamenErsetzen, true);
  m.setEnabled(Opt::CBUngueltigeNamenErsetzen, false);
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_TRUE(fs::exists(d + "Ein Bild.jpg"));
  m.setEnabled(Opt::CBUngueltigeNamenErsetzen, true);

  m.setChecked(Opt::CBLinkZuTextdatei, true);
  schreiben("Ein Bild.txt", "t");
  ::chmod((d + "Ein Bild.jpg").c_str(), 0444);
  ::chmod((d + "Ein Bild.txt").c_str(), 0444);
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(n, "Ein Bild.jpg");
  EXPECT_TRUE(fs::exists(d + "Ein Bild.txt"));
  m.setChecked(Opt::CBSchreibschutzdateienUmbenennen, true);
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(n, "ein_bild.jpg");
  EXPECT_EQ(lesen("ein_bild.txt"), "t");

  // A writable picture with a read-only side file: the side file stays.
  m.setChecked(Opt::CBSchreibschutzdateienUmbenennen, false);
  schreiben("Zwei X.jpg", "z");
  schreiben("Zwei X.txt", "zt");
  ::chmod((d + "Zwei X.txt").c_str(), 0444);
  n = "Zwei X.jpg";
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(n, "zwei_x.jpg");
  EXPECT_TRUE(fs::exists(d + "Zwei X.txt"));

  // A folder the user may not write: its entries keep their names whatever
  // the option says, and that is no failure.
  m.setChecked(Opt::CBSchreibschutzdateienUmbenennen, true);
  fs::forceDirectories(d + "Album");
  schreiben("Album/a b.jpg", "a");
  ::chmod((d + "Album").c_str(), 0555);
  n = "a b.jpg";
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d + "Album", n));
  EXPECT_EQ(n, "a b.jpg");
  ::chmod((d + "Album").c_str(), 0755);
}

TEST_F(Umbenennen, OrdnerBekommenDirnameTxt) {
  st.dirnametxt = true;
  fs::forceDirectories(d + "Neuer Ordner");
  std::string n = "Neuer Ordner";
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(n, "neuer_ordner");
  EXPECT_EQ(lesen("neuer_ordner/dirname.txt"), "Neuer Ordner\r\n");

  // One that needs no renaming gets the file too; a second run keeps the
  // first name.
  fs::forceDirectories(d + "sicher");
  n = "sicher";
  EXPECT_TRUE(DateiWebsicherUmbenennen(k, d, n));
  EXPECT_EQ(lesen("sicher/dirname.txt"), "sicher\r\n");
  DirnameTxtSchreiben(k, d + "neuer_ordner", "neuer_ordner");
  EXPECT_EQ(lesen("neuer_ordner/dirname.txt"), "Neuer Ordner\r\n");

  // Windows-1252 when it fits, else UTF-8; an existing DIRNAME.TXT in
  // another case counts.
  fs::forceDirectories(d + "a");
  DirnameTxtSchreiben(k, d + "a", "Übersee");
  EXPECT_EQ(lesen("a/dirname.txt"), "\xDC" "bersee\r\n");
  fs::forceDirectories(d + "b");
  DirnameTxtSchreiben(k, d + "b/", "東京 €");
  EXPECT_EQ(lesen("b/dirname.txt"), "東京 €\r\n");
  fs::forceDirectories(d + "c");
  schreiben("c/DIRNAME.TXT", "alt");
  DirnameTxtSchreiben(k, d + "c", "Neu");
  EXPECT_FALSE(fs::exists(d + "c/dirname.txt"));

  st.dirnametxt = false;
  fs::forceDirectories(d + "e");
  DirnameTxtSchreiben(k, d + "e", "E");
  EXPECT_TRUE(std::filesystem::is_empty(d + "e"));
}

TEST_F(Umbenennen, BegleitdateienKopieren) {
  m.setChecked(Opt::CBLinkZuTextdatei, true);
  m.setChecked(Opt::CBLinkZuAudio, true);
  fs::forceDirectories(d + "q");
  fs::forceDirectories(d + "z");
  schreiben("q/Bild.jpg", "b");
  schreiben("q/Bild.TXT", "text");
  schreiben("q/Bild.mp3", "ton");
  schreiben("q/Bild.mov", "film");  // video not asked for
  schreiben("z/-gross-bild.txt", "alt");
  EXPECT_TRUE(BegleitdateienKopieren(k, d + "q", d + "z", "Bild.jpg", "-gross-bild.jpg"));
  EXPECT_EQ(lesen("z/-gross-bild.txt"), "text");
  EXPECT_EQ(lesen("z/-gross-bild.mp3"), "ton");
  EXPECT_FALSE(fs::exists(d + "z/-gross-bild.mov"));
  EXPECT_EQ(lesen("q/Bild.TXT"), "text");
  EXPECT_FALSE(BegleitdateienKopieren(k, d + "q", d + "fehlt", "Bild.jpg", "bild.jpg"));
  EXPECT_TRUE(BegleitdateienKopieren(k, d + "q", d + "z", "Anderes.jpg", "anderes.jpg"));
}

}  // namespace
}  // namespace mosaik
