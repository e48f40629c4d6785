// The profile-file layer under the settings file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <tuple>
#include <vector>

#include <filesystem>
#include <fstream>
#include <string>

#include "AlsNobody.h"
#include "TestUmgebung.h"
#include "platform/FileSystem.h"
#include "platform/IniDatei.h"

namespace mosaik {
namespace {

namespace stdfs = std::filesystem;
using test::dateiAblegen;
using test::dateiInhalt;

// From here on the process meets file locks as on a network share without
// its lock service (ENOLCK), or as under a service's system-call filter.
bool ohneSperren(int fehler = ENOLCK) {
  sock_filter regeln[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_flock, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | static_cast<unsigned>(fehler)),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  const sock_fprog programm{static_cast<unsigned short>(std::size(regeln)), regeln};
  return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &programm) == 0;
}

struct IniTest : ::testing::Test {
  test::TempOrdner t;
  std::string pfad(const std::string& name) const { return t.pfad() + name; }
};

TEST_F(IniTest, ReadsNamesWithoutCaseAndValuesTrimmedAndUnquoted) {
  const std::string lang(5000, 'x');
  // Windows-1252 bytes: "Größe" as 47 72 F6 DF 65, "Ü" as DC.
  dateiAblegen(pfad("a.ini"),
          "; Kommentar\r\n"
          "[Layout]\r\n"
          "  Titel  =   Meine Fotos  \r\n"
          "Gr\xF6\xDF" "e=120\r\n"
          "Zitat=\" Bild \"\r\n"
          "Einfach='x'\r\n"
          "Halb=\"x\r\n"
          "Gemischt=\"x'\r\n"
          "Doppelt=\"\"x\"\"\r\n"
          "Leer=\r\n"
          "Spalten=5\r\r\n"  // a CR added by a copying tool
          "Lang=" + lang + "\r\n"
          "Titel=zweiter\r\n"
          ";Auskommentiert=1\r\n"
          "OhneGleich\r\n"
          "[\xDC" "bersicht]\n"  // LF only
          "a=b=c\n"
          "[layout]\r\n"
          "Nur=zweite Sektion\r\n");
  IniDatei ini(pfad("a.ini"));
  const std::pair<const char*, std::optional<std::string>> werte[] = {
      {"TITEL", "Meine Fotos"},  // first occurrence wins
      {"GRÖSSE", std::nullopt},  // ß has no capital here
      {"GRÖßE", "120"}, {"Zitat", " Bild "}, {"Einfach", "x"}, {"Halb", "\"x"}, {"Gemischt", "\"x'"},
      {"Doppelt", "\"x\""}, {"Leer", ""}, {"Spalten", "5"}, {"Lang", lang},  // no length limit
      {"Auskommentiert", std::nullopt}, {"OhneGleich", std::nullopt},
      {"Nur", std::nullopt},  // only the first section of a name counts
  };
  for (const auto& [name, wert] : werte) EXPECT_EQ(ini.lesen("LAYOUT", name), wert) << name;
  EXPECT_EQ(ini.lesen("übersicht", "A"), "b=c");
  EXPECT_EQ(ini.lesen("Fehlt", "x", "vorgabe"), "vorgabe");
  EXPECT_EQ(ini.lesen("Layout", "Fehlt", "vorgabe"), "vorgabe");

  dateiAblegen(pfad("u.ini"), "\xEF\xBB\xBF[S]\r\nk=\xE2\x86\x92 \xC3\xA4\r\n");
  EXPECT_EQ(IniDatei(pfad("u.ini")).lesen("s", "K"), "→ ä");
  EXPECT_EQ(IniDatei(pfad("fehlt.ini")).lesen("S", "k"), std::nullopt);
}

// UTF-16 text with its mark, as Windows editors save "Unicode" text.
std::string utf16(std::u16string_view text, bool bigEndian) {
  std::string b = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t c : text) {
    const char hoch = static_cast<char>(c >> 8), tief = static_cast<char>(c & 0xFF);
    b += bigEndian ? hoch : tief;
    b += bigEndian ? tief : hoch;
  }
  return b;
}

// The encoding is decided line by line (decodeText); UTF-16 with its mark as
// a whole; a line ends at LF, CR LF or CR alone. A file with content but no
// section is no settings file, nor is UTF-16 with other bytes mixed in: not
// read, never replaced. One row a file: [S] k and j as read, or the reason
// the file is refused.
TEST_F(IniTest, ReadsEncodingsAndLineEndsLineByLine) {
  const std::string abgelehnt =
      "In ihr ist kein Abschnitt wie [Layout] zu erkennen (keine Einstellungsdatei, oder eine "
      "Kodierung, die das Programm nicht kennt).";
  const std::string gemischt =
      "Sie ist als UTF-16 gespeichert, enthält aber auch Bytes, die kein UTF-16 sind (etwa eine angehängte Zeile "
      "in einer anderen Kodierung).";
  const std::string gemischt32 =
      "Sie ist als UTF-32 gespeichert, enthält aber auch Bytes, die kein UTF-32 sind (etwa eine angehängte Zeile "
      "in einer anderen Kodierung).";
  struct Fall {
    std::string bytes;
    std::optional<std::string> k, j;
    std::string grund = "";
  };
  const std::vector<Fall> faelle = {
      {"[S]\r\nk=Grüße aus Köln\r\nj=Stra\xDF" "e\r\n", "Grüße aus Köln", "Straße"},
      {"\xEF\xBB\xBF[S]\r\nk=\xE2\x86\x92\r\nj=\xE4\r\n", "→", "ä"},
      // One invalid byte makes its whole line Windows-1252, no other.
      {"[S]\r\nk=Gr\xFC\xDF" "e \xE2\x9C\x93\r\nj=\xE2\x9C\x93\r\n", "Grüße âœ“", "✓"},
      // Windows-1252 that is valid UTF-8 beside a line typed in UTF-8.
      {"[S]\r\nk=Viel Spa\xDF\x85\r\nj=Gr\xC3\xBC\xC3\x9F" "e \xE2\x80\x93 Gda\xC5\x84sk\r\n", "Viel Spaß…",
       "Grüße – Gdańsk"},
      {"\xEF\xBB\xBF[S]\r\nk=Spa\xDF\x85\r\nj=CAF\xC9\x96\r\n", "Spa\u07C5", "CAF\u0256"},
      {utf16(u"[S]\r\nk=Grüße\r\nj=\U0001F600\r\n", false), "Grüße", "\U0001F600"},
      {utf16(u"[S]\r\nk=Grüße\r\nj=\U0001F600\r\n", true), "Grüße", "\U0001F600"},
      {utf16(u"[S]\r\nk=a\xD800" u"b\r\nj=c\xDC00", false), "a\uFFFDb", "c\uFFFD"},
      // A line appended in an 8-bit encoding: of odd length, or with its CR
      // LF side by side; UTF-16 characters that hold 0D and 0A apart.
      {utf16(u"[S]\r\nk=a\r\nj=c", false) + "x", std::nullopt, std::nullopt, gemischt},
      {utf16(u"[S]\r\nk=1\r\n", true) + "jj=2\r\n", std::nullopt, std::nullopt, gemischt},
      {utf16(u"[S]\r\nk=\u0D41\u0A41\r\n", false), "\u0D41\u0A41", std::nullopt},
      // Appended by `echo` (LF only, even length), or with no line end on a
      // line of its own: CJK characters in a line no editor saved.
      {utf16(u"[S]\r\nk=Alt\r\n", false) + "Titel=Neu\n", std::nullopt, std::nullopt, gemischt},
      {utf16(u"[S]\r\nk=Alt\r\n", true) + "Titel=Neu\n", std::nullopt, std::nullopt, gemischt},
      {utf16(u"[S]\r\nk=Alt\r\n", false) + "Titel=Neu2", std::nullopt, std::nullopt, gemischt},
      {utf16(u"; Notiz\r\n\r\n[S]\r\n  \r\nk=1\r\nj= 2 ", true), "1", "2"},
      // UTF-32, as a few editors save it.
      {std::string("\xFF\xFE\0\0[\0\0\0S\0\0\0]\0\0\0\n\0\0\0k\0\0\0=\0\0\0\xFC\0\0\0", 32), "ü", std::nullopt},
      {std::string("\0\0\xFE\xFF\0\0\0[\0\0\0S\0\0\0]\0\0\0\n", 20) + "k=1\n", std::nullopt, std::nullopt, gemischt32},
      {"[S]\rk=1\r\rj=2\r", "1", "2"},
      {"[S]\r\r\nk=1\r\r\r\nj=2", "1", "2"},
      {"[S]\nk=1\nj=2\n", "1", "2"},
      {"[S]\rk=1\nj=2\r\n", "1", "2"},
      {"", std::nullopt, std::nullopt},
      {"\r\n\r\n  \r\n", std::nullopt, std::nullopt},
      {"; nur ein Kommentar\r\n", std::nullopt, std::nullopt},
      {"\xEF\xBB\xBF", std::nullopt, std::nullopt},
      {"\xFF\xFE", std::nullopt, std::nullopt},
      {"k=1\r\nj=2\r\n", std::nullopt, std::nullopt, abgelehnt},
      {std::string("[\0S\0]\0\r\0\n\0k\0=\0" "1\0", 16), std::nullopt, std::nullopt, abgelehnt},
      {std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11), std::nullopt, std::nullopt, abgelehnt},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(::testing::PrintToString(f.bytes));
    const std::string d = pfad("e.ini");
    dateiAblegen(d, f.bytes);
    IniDatei ini(d);
    EXPECT_TRUE(ini.vorhanden());
    EXPECT_EQ(ini.lesen("s", "k"), f.k);
    EXPECT_EQ(ini.lesen("s", "j"), f.j);
    EXPECT_EQ(ini.lesefehler(), f.grund);
    ini.schreiben("S", "n", "1");
    if (!f.grund.empty()) {
      EXPECT_THROW(ini.speichern(), IniFehler);
      EXPECT_EQ(dateiInhalt(d), f.bytes);
    } else {
      EXPECT_NO_THROW(ini.speichern());
    }
  }
  // Saved again, a UTF-16 file keeps every line, now in the code page.
  dateiAblegen(pfad("w.ini"), utf16(u"; Notiz\r\n[S]\r\nk=Grüße\r\n[T]\r\nx=1\r\n", false));
  IniDatei w(pfad("w.ini"));
  w.schreiben("S", "n", "2");
  w.speichern();
  EXPECT_EQ(dateiInhalt(pfad("w.ini")), "; Notiz\r\n[S]\r\nk=Gr\xFC\xDF" "e\r\nn=2\r\n[T]\r\nx=1\r\n");
}

// A file larger than any settings or side file is not taken in: said why,
// never replaced. At the limit it is read.
TEST_F(IniTest, FilesBeyondTheTextLimitAreNeitherReadNorReplaced) {
  const std::string d = pfad("gross.ini");
  dateiAblegen(d, "[Layout]\r\nTitel=x\r\n");
  ASSERT_EQ(::truncate(d.c_str(), fs::kMaxTextFileBytes), 0);
  EXPECT_EQ(fs::readTextFile(d)->size(), static_cast<size_t>(fs::kMaxTextFileBytes));
  ASSERT_EQ(::truncate(d.c_str(), fs::kMaxTextFileBytes + 1), 0);
  const std::string warum = "Sie ist mit 67108865 Bytes zu groß für eine Textdatei (höchstens 64 MiB).";
  IniDatei ini(d);
  EXPECT_EQ(ini.lesefehler(), warum);
  ini.schreiben("Layout", "Titel", "y");
  EXPECT_THROW(ini.speichern(), IniFehler);
  EXPECT_FALSE(dateiErsetzen(d, "[Layout]\r\n"));
  EXPECT_EQ(std::filesystem::file_size(d), static_cast<uintmax_t>(fs::kMaxTextFileBytes + 1));
}

TEST_F(IniTest, WritesNewFileSectionByBlankLineInCodePage) {
  IniDatei ini(pfad("neu.ini"));
  ini.schreiben("Mosaikschauer", "Version", "2.6.1");
  ini.schreiben("Vorschaubilder", "Größe", "120");
  ini.schreiben("Mosaikschauer", "Autor", "A");
  ini.schreiben("Vorschaubilder", "Text", "a\r\nb\nc");
  ini.speichern();
  EXPECT_EQ(dateiInhalt(pfad("neu.ini")),
            "[Mosaikschauer]\r\nVersion=2.6.1\r\nAutor=A\r\n\r\n"
            "[Vorschaubilder]\r\nGr\xF6\xDF" "e=120\r\nText=a#$0D#$0Ab#$0Ac\r\n");

  // A character outside the code page turns the whole file into UTF-8 with a mark.
  ini.schreiben("Vorschaubilder", "Pfeil", "→");
  ini.speichern();
  EXPECT_EQ(dateiInhalt(pfad("neu.ini")),
            "\xEF\xBB\xBF[Mosaikschauer]\r\nVersion=2.6.1\r\nAutor=A\r\n\r\n"
            "[Vorschaubilder]\r\nGröße=120\r\nText=a#$0D#$0Ab#$0Ac\r\nPfeil=→\r\n");
  EXPECT_EQ(IniDatei(pfad("neu.ini")).lesen("vorschaubilder", "pfeil"), "→");
}

TEST_F(IniTest, UpdatesInPlaceKeepsForeignLinesAndDeletes) {
  dateiAblegen(pfad("alt.ini"),
          "; von Hand\r\n"
          "[Layout]\r\n"
          "titel=alt\r\n"
          "Fremd=bleibt\r\n"
          "\r\n"
          "[Texte]\r\n"
          "Von=weg\r\n"
          "\r\n");
  IniDatei ini(pfad("alt.ini"));
  ini.schreiben("LAYOUT", "Titel", "neu");
  ini.schreiben("Layout", "Neu", "1");
  ini.loeschen("Texte", "von");
  ini.loeschen("Texte", "GibtEsNicht");
  ini.loeschen("Fehlt", "x");
  ini.schreiben("Programm", "XPDesign", "1");
  ini.speichern();
  EXPECT_EQ(dateiInhalt(pfad("alt.ini")),
            "; von Hand\r\n[Layout]\r\nTitel=neu\r\nFremd=bleibt\r\nNeu=1\r\n\r\n"
            "[Texte]\r\n\r\n[Programm]\r\nXPDesign=1\r\n");
}

// The read-only bit binds root as well; the same case then runs again as an
// ordinary user, whom the file system refuses on its own.
TEST_F(IniTest, FailedWriteLeavesTheOldFileAndNamesIt) {
  const std::string alt = "[A]\r\nx=1\r\n";
  const std::string p = pfad("schreibgeschuetzt.ini");
  dateiAblegen(p, alt);
  ::chmod(p.c_str(), 0444);
  IniDatei ini(p);
  ini.schreiben("A", "x", "2");
  try {
    ini.speichern();
    FAIL() << "read-only file written";
  } catch (const IniFehler& e) {
    EXPECT_EQ(std::string(e.what()), "nach " + p + " kann nicht geschrieben werden\r\nSie ist schreibgeschützt.");
    EXPECT_EQ(e.datei(), p);
  }
  EXPECT_EQ(dateiInhalt(p), alt);
  const auto rest = stdfs::directory_iterator(t.pfad());
  EXPECT_EQ(std::distance(stdfs::begin(rest), stdfs::end(rest)), 1) << "temporary file left behind";

  // A missing folder, a folder in place of the file: each with its reason.
  stdfs::create_directory(pfad("ordner.ini"));
  for (const auto& [name, grund] : {std::pair<std::string, std::string>{"gibtsnicht/x.ini", " (nicht vorhanden)"},
                                    {"ordner.ini", "\r\nSie ist ein Ordner."}}) {
    IniDatei ini2(pfad(name));
    ini2.schreiben("A", "x", "1");
    EXPECT_THAT([&] { ini2.speichern(); },
                ::testing::ThrowsMessage<IniFehler>("nach " + pfad(name) + " kann nicht geschrieben werden" + grund));
  }
  test::AlsNobodyWiederholt();
}

TEST_F(IniTest, ReadOnlyFolderRefusesNewFilesButKeepsWritableOnes) {
  if (test::AlsNobodyWiederholt()) return;
  const std::string vorhanden = pfad("vorhanden.ini");
  dateiAblegen(vorhanden, "[A]\r\nx=1\r\n");
  ::chmod(t.pfad().c_str(), 0555);
  IniDatei neu(pfad("neu.ini"));
  neu.schreiben("A", "x", "1");
  EXPECT_THROW(neu.speichern(), IniFehler);
  EXPECT_FALSE(stdfs::exists(pfad("neu.ini")));
  IniDatei alt(vorhanden);
  alt.schreiben("A", "x", "2");
  EXPECT_NO_THROW(alt.speichern());
  // A folder that may be gone through but not listed: its file is read and
  // saved by name all the same.
  ::chmod(t.pfad().c_str(), 0311);
  IniDatei durch(vorhanden);
  EXPECT_EQ(durch.lesen("A", "x", ""), "2");
  durch.schreiben("A", "x", "3");
  EXPECT_NO_THROW(durch.speichern());
  ::chmod(t.pfad().c_str(), 0755);
  EXPECT_EQ(dateiInhalt(vorhanden), "[A]\r\nx=3\r\n");
}

// A link is followed when the running user or root made it (a missing
// target is created), never when someone else planted it in a shared folder:
// not even to a file of its own maker (which the shared folder makes a file
// of another user there).
TEST_F(IniTest, FollowsOnlyLinksOfTheUserOrRoot) {
  if (::geteuid() != 0) GTEST_SKIP() << "Verknüpfungen eines anderen Eigentümers kann nur root anlegen.";
  const std::string geteilt = pfad("geteilt/");
  stdfs::create_directory(geteilt);
  ::chmod(geteilt.c_str(), 01777);
  const std::string fremdeVerknuepfung = "Sie ist eine symbolische Verknüpfung, die ein anderer Benutzer angelegt hat.";
  const std::string fremdeDatei =
      "Sie gehört einem anderen Benutzer und liegt in einem Ordner, in den auch andere schreiben dürfen.";
  struct Fall {
    uid_t linkBesitzer, zielBesitzer;
    bool zielDa;
    const std::string& grund;  // empty: followed
  };
  const std::string folgt;
  for (const Fall& f : {Fall{0, 0, true, folgt}, Fall{65534, 0, true, fremdeVerknuepfung}, Fall{0, 0, false, folgt},
                        Fall{65534, 65534, true, fremdeDatei}}) {
    SCOPED_TRACE(std::to_string(f.linkBesitzer) + (f.zielDa ? " Ziel da" : " Ziel fehlt"));
    const bool geschrieben = f.grund.empty();
    const std::string ziel = pfad("ziel.ini"), link = geteilt + "Mosaikschauer.ini";
    stdfs::remove(ziel);
    stdfs::remove(link);
    if (f.zielDa) {
      dateiAblegen(ziel, "[A]\r\n");
      ::chmod(ziel.c_str(), 0600);
      ASSERT_EQ(::chown(ziel.c_str(), f.zielBesitzer, f.zielBesitzer), 0);
    }
    stdfs::create_symlink(ziel, link);
    ASSERT_EQ(::lchown(link.c_str(), f.linkBesitzer, f.linkBesitzer), 0);
    // Reading follows the same rule: a file only root may read comes in
    // through no link of another user.
    const Einstellungsinhalt gelesen = einstellungsdateiLesen(link);
    EXPECT_EQ(gelesen.gelesen, f.zielDa && geschrieben);
    EXPECT_EQ(gelesen.vorhanden, f.zielDa || !geschrieben);
    EXPECT_EQ(gelesen.bytes, gelesen.gelesen ? "[A]\r\n" : "");
    EXPECT_EQ(gelesen.grund, f.grund);
    EXPECT_EQ(IniDatei(link).lesefehler(), gelesen.grund);
    EXPECT_EQ(dateiErsetzen(link, "[A]\r\nx=1\r\n"), geschrieben);
    EXPECT_TRUE(stdfs::is_symlink(link));
    EXPECT_EQ(dateiInhalt(ziel), geschrieben ? "[A]\r\nx=1\r\n" : "[A]\r\n");
    struct stat st {};
    ::stat(ziel.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, f.zielDa ? 0600u : 0644u);
  }
}

// A file of another user (not root) is taken only from a folder that no one
// else may write; there it is neither read nor written. Files of the user and
// of root are taken anywhere.
TEST_F(IniTest, TakesFilesOfOthersOnlyFromFoldersOthersCannotWrite) {
  if (::geteuid() != 0) GTEST_SKIP() << "Dateien eines anderen Eigentümers kann nur root anlegen.";
  struct Fall {
    uid_t besitzer;
    unsigned ordnerModus;
    bool genommen;
  };
  for (const Fall& f : {Fall{65534, 01777, false}, Fall{65534, 0777, false}, Fall{65534, 0775, false},
                        Fall{65534, 0757, false}, Fall{65534, 0755, true}, Fall{0, 01777, true},
                        Fall{0, 0777, true}}) {
    SCOPED_TRACE(std::to_string(f.besitzer) + " " + std::to_string(f.ordnerModus));
    const test::TempOrdner ordner;
    const std::string d = ordner.pfad() + "Mosaikschauer.ini";
    dateiAblegen(d, "[A]\r\nx=1\r\n");
    ASSERT_EQ(::chown(d.c_str(), f.besitzer, f.besitzer), 0);
    ::chmod(ordner.pfad().c_str(), f.ordnerModus);
    const Einstellungsinhalt e = einstellungsdateiLesen(d);
    EXPECT_TRUE(e.vorhanden);
    EXPECT_EQ(e.gelesen, f.genommen);
    EXPECT_EQ(e.grund, f.genommen ? ""
                                  : "Sie gehört einem anderen Benutzer und liegt in einem Ordner, in den auch "
                                    "andere schreiben dürfen.");
    IniDatei ini(d);
    EXPECT_EQ(ini.lesen("A", "x"), f.genommen ? std::optional<std::string>("1") : std::nullopt);
    ini.schreiben("A", "x", "2");
    if (f.genommen)
      EXPECT_NO_THROW(ini.speichern());
    else
      EXPECT_THROW(ini.speichern(), IniFehler);
    EXPECT_EQ(dateiErsetzen(d, "[A]\r\nx=3\r\n"), f.genommen);
    EXPECT_EQ(dateiInhalt(d), f.genommen ? "[A]\r\nx=3\r\n" : "[A]\r\nx=1\r\n");
  }
}

// Writes of a file cut short (a size limit in place of a full disk) or ended
// by a kill before the rename, through a temporary file and in place (a
// folder without write bits): the old file stays whole, and a temporary file
// of the killed writer goes with the next save. A file system that keeps no
// locks is written and read all the same.
TEST_F(IniTest, InjectedFailuresLeaveTheOldFileWhole) {
  std::string alt = "[A]\r\n", neu = "[A]\r\n";
  for (int i = 0; i < 200; ++i) alt += "Alt" + std::to_string(i) + "=" + std::string(20, 'a') + "\r\n";
  for (int i = 0; i < 900; ++i) neu += "Neu" + std::to_string(i) + "=" + std::string(20, 'n') + "\r\n";
  ASSERT_LT(alt.size(), 8192u);
  enum Fehler { Platz, Toeten, KeineSperren };
  struct Fall {
    bool anOrt;
    Fehler fehler;
  };
  for (const Fall& f : {Fall{false, Platz}, Fall{true, Platz}, Fall{false, Toeten}, Fall{true, KeineSperren}}) {
    SCOPED_TRACE(std::string(f.anOrt ? "an Ort " : "ueber Temporaerdatei ") + std::to_string(f.fehler));
    test::TempOrdner ordner;
    const std::string d = ordner.pfad() + "Mosaikschauer.ini";
    dateiAblegen(d, alt);
    if (f.anOrt) ::chmod(ordner.pfad().c_str(), 0555);
    const pid_t kind = ::fork();
    if (kind == 0) {
      // As the program starts: the signal's default disposition, then the
      // program's own preparation, which makes the write fail instead.
      ::signal(SIGXFSZ, SIG_DFL);
      fs::prepareSignals();
      const rlimit grenze{8192, 8192};
      if (f.fehler == Toeten)
        testhaken::vorDemUmbenennen = [] { ::raise(SIGKILL); };
      else if (f.fehler == Platz)
        ::setrlimit(RLIMIT_FSIZE, &grenze);
      else if (!ohneSperren())
        _exit(3);
      _exit(dateiErsetzen(d, neu) && IniDatei(d).inhalt() == neu ? 0 : 1);
    }
    int status = 0;
    ::waitpid(kind, &status, 0);
    const bool geschrieben = f.fehler == KeineSperren;
    EXPECT_TRUE(f.fehler == Toeten ? WIFSIGNALED(status) : WIFEXITED(status) && WEXITSTATUS(status) == !geschrieben)
        << status;
    EXPECT_EQ(dateiInhalt(d), geschrieben ? neu : alt);
    const auto dateien = [&] {
      return std::distance(stdfs::directory_iterator(ordner.pfad()), stdfs::directory_iterator());
    };
    EXPECT_EQ(dateien(), f.fehler == Toeten ? 2 : 1);
    // Of a process that still runs (1), or not of this writer: they stay.
    if (!f.anOrt)
      for (const char* fremd : {".mosaik-1-5.tmp", ".mosaik-9x-5.tmp"})
        dateiAblegen(ordner.pfad() + fremd, "");
    EXPECT_TRUE(dateiErsetzen(d, neu));
    EXPECT_EQ(dateiInhalt(d), neu);
    EXPECT_EQ(dateien(), f.anOrt ? 1 : 3);
    ::chmod(ordner.pfad().c_str(), 0755);
  }
}

// Only a lock that another holds stops a reader or writer (after a while,
// with the reason); a lock call that fails for any other reason is what the
// file system offers, and the file is read and written without the lock.
TEST_F(IniTest, OnlyALockHeldByAnotherStopsTheAccess) {
  const std::string d = pfad("s.ini");
  for (const int fehler : {EPERM, ENOSYS, EINVAL, EIO, ENOLCK, EOPNOTSUPP}) {
    SCOPED_TRACE(fehler);
    dateiAblegen(d, "[A]\r\nx=1\r\n");
    const pid_t kind = ::fork();
    if (kind == 0) {
      if (!ohneSperren(fehler)) _exit(3);
      IniDatei ini(d);
      const bool gelesen = ini.lesen("A", "x") == "1" && ini.lesefehler().empty();
      ini.schreiben("A", "x", "2");
      _exit(gelesen && dateiErsetzen(d, ini.inhalt()) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(kind, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(dateiInhalt(d), "[A]\r\nx=2\r\n");
  }
  testhaken::sperrVersuche = 2;
  const int halter = ::open(d.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(halter, LOCK_EX), 0);
  IniDatei ini(d);
  EXPECT_TRUE(ini.vorhanden());
  EXPECT_EQ(ini.lesefehler(), "Ein anderes Programm hält sie gesperrt.");
  EXPECT_EQ(ini.lesen("A", "x"), std::nullopt);
  EXPECT_THROW(ini.speichern(), IniFehler);
  EXPECT_FALSE(dateiErsetzen(d, "[A]\r\nx=3\r\n"));
  ::close(halter);
  testhaken::sperrVersuche = 400;
  EXPECT_EQ(dateiInhalt(d), "[A]\r\nx=2\r\n");
  EXPECT_EQ(IniDatei(d).lesen("A", "x"), "2");
}

// Twelve runs saving one file at once, each several times (reading it,
// setting its value, writing it), through a temporary file and in place:
// one of the whole versions is left.
TEST_F(IniTest, ConcurrentWritersLeaveOneWholeFile) {
  const auto wert = [](int v) { return std::to_string(v) + std::string(4000 + 3000 * v, 'x'); };
  for (const bool anOrt : {false, true}) {
    SCOPED_TRACE(anOrt ? "an Ort" : "ueber Temporaerdatei");
    test::TempOrdner ordner;
    const std::string d = ordner.pfad() + "Mosaikschauer.ini";
    dateiAblegen(d, "[Programm]\r\nWert=" + wert(11) + "\r\n");
    if (anOrt) ::chmod(ordner.pfad().c_str(), 0555);
    std::vector<pid_t> kinder;
    for (int v = 0; v < 12; ++v) {
      const pid_t kind = ::fork();
      if (kind == 0) {
        for (int mal = 0; mal < 5; ++mal) {
          IniDatei ini(d);
          ini.schreiben("Programm", "Wert", wert(v));
          ini.speichern();
        }
        _exit(0);
      }
      kinder.push_back(kind);
    }
    for (const pid_t kind : kinder) {
      int status = 0;
      ::waitpid(kind, &status, 0);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::string text = dateiInhalt(d);
    const std::string kopf = "[Programm]\r\nWert=";
    const int v = std::atoi(text.substr(kopf.size(), 2).c_str());
    EXPECT_TRUE(text == kopf + wert(v) + "\r\n") << text.size() << " bytes: " << text.substr(0, 40);
    ::chmod(ordner.pfad().c_str(), 0755);
    EXPECT_EQ(std::distance(stdfs::directory_iterator(ordner.pfad()), stdfs::directory_iterator()), 1);
  }
}

// The file keeps owner, group and mode. Root rewriting a user's file gives
// it back to the user; a user who cannot give a new file root's owner writes
// a file of root's that he may write in place, and leaves one he may not.
// A file that holds the bytes already is not rewritten at all. In a folder
// that others may write, a file of another user is neither written nor
// proved writable: whoever may write there could have put it there.
TEST_F(IniTest, RewriteKeepsOwnerGroupAndMode) {
  if (::geteuid() != 0) GTEST_SKIP() << "Dateien zweier Eigentümer kann nur root anlegen.";
  ASSERT_EQ(::chown(t.pfad().c_str(), 65534, 65534), 0);
  struct Fall {
    uid_t besitzer;
    unsigned modus;
    uid_t schreiber;
    bool geschrieben;
    unsigned ordnerModus = 0755;
  };
  for (const Fall& f : {Fall{65534, 0640, 0, true}, Fall{0, 0666, 65534, true}, Fall{0, 0644, 65534, false},
                        Fall{65534, 0600, 65534, true}, Fall{65534, 0640, 0, false, 01777},
                        Fall{65534, 0640, 0, false, 0775}, Fall{0, 0666, 65534, true, 01777},
                        Fall{65534, 0600, 65534, true, 0777}}) {
    SCOPED_TRACE(std::to_string(f.besitzer) + " " + std::to_string(f.modus) + " " + std::to_string(f.schreiber) +
                 " " + std::to_string(f.ordnerModus));
    ::chmod(t.pfad().c_str(), f.ordnerModus);
    const bool fremdImGeteilten = f.besitzer != 0 && (f.ordnerModus & 022) != 0;
    const std::string d = pfad("Mosaikschauer.ini");
    dateiAblegen(d, "[A]\r\n");
    ASSERT_EQ(::chown(d.c_str(), f.besitzer, 65534), 0);
    ::chmod(d.c_str(), f.modus);
    const pid_t kind = ::fork();
    if (kind == 0) {
      const bool wechsel = f.schreiber == 0 || (::setgid(65534) == 0 && ::setuid(f.schreiber) == 0);
      _exit(wechsel && dateiErsetzen(d, "[A]\r\nx=1\r\n") ? 0 : 1);
    }
    int status = 0;
    ::waitpid(kind, &status, 0);
    EXPECT_EQ(WIFEXITED(status) && WEXITSTATUS(status) == 0, f.geschrieben);
    EXPECT_EQ(dateiInhalt(d), f.geschrieben ? "[A]\r\nx=1\r\n" : "[A]\r\n");
    struct stat st {};
    ::stat(d.c_str(), &st);
    EXPECT_EQ(std::tuple(st.st_uid, st.st_gid, st.st_mode & 07777), std::tuple(f.besitzer, gid_t{65534}, f.modus));
    const ino_t inode = st.st_ino;
    EXPECT_EQ(dateiErsetzen(d, dateiInhalt(d)), (f.besitzer == 0 || f.modus != 0644) && !fremdImGeteilten);
    ::stat(d.c_str(), &st);
    EXPECT_EQ(st.st_ino, inode);
    EXPECT_EQ(std::distance(stdfs::directory_iterator(t.pfad()), stdfs::directory_iterator()), 1);
    stdfs::remove(d);
  }
}

TEST(IniNamen, CompareWithoutCase) {
  for (auto [a, b, gleich] : {std::tuple{"ÜbNavOben", "übnavoben", true}, {"Größe", "Grosse", false},
                              {"ab", "abc", false}})
    EXPECT_EQ(iniNamenGleich(a, b), gleich) << a << " " << b;
}

}  // namespace
}  // namespace mosaik
