#include <fcntl.h>
#include <gmock/gmock.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>

#include "AlsNobody.h"
#include "TestUmgebung.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

TEST(Dateisystem, AtomaresSchreibenErsetztErstNachVollstaendigemSchreiben) {
  test::TempOrdner t;
  const std::string ziel = t.pfad() + "einstellungen.ini";
  std::ofstream(ziel) << "alt";
  ::chmod(ziel.c_str(), 0600);
  ASSERT_TRUE(fs::writeFileAtomic(ziel, "neu\r\n"));
  EXPECT_EQ(*fs::readFile(ziel), "neu\r\n");
  struct stat st {};
  ::stat(ziel.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0600u);  // permissions kept
  // ... but not a set-id bit someone left on the file it replaces.
  ::chmod(ziel.c_str(), 06755);
  ASSERT_TRUE(fs::writeFileAtomic(ziel, "neu\r\n"));
  ::stat(ziel.c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0755u);
  // No temporary file stays behind.
  int dateien = 0;
  for (const auto& e : std::filesystem::directory_iterator(t.pfad())) dateien += e.is_regular_file();
  EXPECT_EQ(dateien, 1);
  // A folder that does not exist: failure, nothing written, the reason
  // named with the file.
  std::string warum;
  EXPECT_FALSE(fs::writeFileAtomic(t.pfad() + "fehlt/x.ini", "x", true, &warum));
  EXPECT_EQ(warum, "Die Datei " + t.pfad() + "fehlt/x.ini kann nicht geschrieben werden (ihr Ordner ist nicht "
                   "vorhanden).");
  // A name of the longest length a folder holds still leaves room for the
  // temporary file.
  const std::string lang = t.pfad() + std::string(251, 'l') + ".htm";
  EXPECT_TRUE(fs::writeFileAtomic(lang, "x"));
  std::filesystem::remove(lang);
  // An interrupted run: on SIGTERM its temporary file goes; one that a
  // killed run left (no handler ran) is swept by the next run in that
  // folder, while others' files stay. A run that was started ignoring the
  // signal (nohup, in the background) goes on.
  std::ofstream(t.pfad() + ".mosaik-fremd.tmp") << "x";
  for (const auto& [signal, ignoriert] : {std::pair{true, false}, {false, false}, {true, true}}) {
    const pid_t kind = ::fork();
    if (kind == 0) {
      if (ignoriert) ::signal(SIGTERM, SIG_IGN);
      fs::removeTempsOnSignals();
      std::string p;
      if (fs::createTemp(t.pfad(), 0644, p) < 0) _exit(1);
      if (signal) ::raise(SIGTERM);
      _exit(0);
    }
    int status = 0;
    ::waitpid(kind, &status, 0);
    EXPECT_EQ(WIFSIGNALED(status), signal && !ignoriert);
    EXPECT_EQ(fs::sweepStaleTemps(t.pfad()), signal && !ignoriert ? 0 : 1);
  }
  EXPECT_TRUE(std::filesystem::exists(t.pfad() + ".mosaik-fremd.tmp"));
  std::filesystem::remove(t.pfad() + ".mosaik-fremd.tmp");
  // Neither a pipe nor a folder is read as a file, and a pipe is never
  // waited on.
  ASSERT_EQ(::mkfifo((t.pfad() + "rohr").c_str(), 0644), 0);
  EXPECT_FALSE(fs::readFile(t.pfad() + "rohr"));
  EXPECT_FALSE(fs::readFile(t.pfad()));
  std::filesystem::remove(t.pfad() + "rohr");

  // An original rewritten keeps its owner, attributes and inode where a
  // new file could not have them. As nobody, in a folder nobody may write:
  // nobody's own file is replaced; a foreign one, and one with an
  // attribute only root may give (security.*), are written over in place,
  // the foreign one with a word that its date could not be kept.
  if (::geteuid() != 0) GTEST_SKIP() << "Dateien eines anderen Eigentümers kann nur root anlegen.";
  ::chmod(t.pfad().c_str(), 0777);
  const auto alsNobody = [](const std::string& pfad) {
    const pid_t kind = ::fork();
    if (kind == 0) {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) _exit(3);
      const fs::RewriteResult r = fs::rewriteOriginal(pfad, "neu");
      _exit(!r.written ? 1 : r.why.find("Datum") != std::string::npos ? 2 : r.why.empty() ? 0 : 4);
    }
    int status = 0;
    ::waitpid(kind, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  struct Fall {
    uid_t besitzer;
    const char* attribut;
    int ergebnis;
    bool anOrtUndStelle;
  };
  for (const Fall& f : {Fall{65534, "", 0, false}, Fall{0, "", 2, true}, Fall{65534, "security.mosaik", 0, true}}) {
    const std::string datei = t.pfad() + "bild" + std::to_string(dateien++) + ".jpg";
    std::ofstream(datei) << "alt";
    ASSERT_EQ(::chown(datei.c_str(), f.besitzer, 65534), 0);
    ::chmod(datei.c_str(), 0664);
    if (*f.attribut) {
      ASSERT_EQ(::setxattr(datei.c_str(), f.attribut, "x", 1, 0), 0);
    }
    ::stat(datei.c_str(), &st);
    const ino_t inode = st.st_ino;
    EXPECT_EQ(alsNobody(datei), f.ergebnis) << datei;
    EXPECT_EQ(*fs::readFile(datei), "neu");
    ::stat(datei.c_str(), &st);
    EXPECT_EQ(std::tuple(st.st_uid, st.st_mode & 0777, st.st_ino == inode),
              std::tuple(f.besitzer, 0664u, f.anOrtUndStelle));
    if (*f.attribut) {
      EXPECT_EQ(::getxattr(datei.c_str(), f.attribut, nullptr, 0), 1);
    }
  }
  dateien = 0;
  for (const auto& e : std::filesystem::directory_iterator(t.pfad())) dateien += e.is_regular_file();
  EXPECT_EQ(dateien, 4);
}

TEST(Dateisystem, OrdnerketteUndExistenz) {
  test::TempOrdner t;
  EXPECT_TRUE(fs::forceDirectories(t.pfad() + "a/b/c"));
  EXPECT_TRUE(fs::folderExists(t.pfad() + "a/b/c"));
  EXPECT_FALSE(fs::fileExists(t.pfad() + "a/b/c"));
  std::ofstream(t.pfad() + "datei") << "x";
  EXPECT_FALSE(fs::forceDirectories(t.pfad() + "datei/unter"));
  EXPECT_TRUE(fs::fileExists(t.pfad() + "datei"));
  EXPECT_FALSE(fs::fileExists(""));
  for (auto [pfad, mit] : {std::pair{"", ""}, {"/a", "/a/"}, {"/a/", "/a/"}}) EXPECT_EQ(fs::withTrailingSlash(pfad), mit);
  EXPECT_EQ(fs::programFolder().back(), '/');
}

// Names of paths: lexically (nothing looked up) and as the file system names
// them, links resolved as far as the path is there.
TEST(Dateisystem, AbsoluteUndEchteNamen) {
  for (auto [rein, raus] : {std::pair<std::string, std::string>{"", ""}, {"/", "/"}, {"//a//b", "/a/b"},
                            {"/a/./b/", "/a/b/"}, {"/a/b/.", "/a/b/"}, {"/a/b/..", "/a/"}, {"/a/b/../c", "/a/c"},
                            {"/..", "/"}, {"/../a/..", "/"}, {"x/../..", fs::currentFolder() + ".."},
                            {"x/../../", fs::currentFolder() + "../"}, {"x", fs::currentFolder() + "x"}})
    EXPECT_EQ(fs::absoluteName(rein), std::filesystem::path(raus).lexically_normal().string()) << rein;

  test::TempOrdner t;
  const std::string b = std::filesystem::canonical(t.pfad()).string() + "/";
  std::filesystem::create_directories(t.pfad() + "echt/unter");
  std::filesystem::create_directory_symlink("echt", t.pfad() + "link");
  std::filesystem::create_directory_symlink("echt/unter", t.pfad() + "tief");
  std::filesystem::create_directory_symlink("fehlt", t.pfad() + "leer");
  for (auto [rein, raus] : {std::pair<std::string, std::string>{"echt/unter", "echt/unter"}, {"link", "echt"},
                            {"link/unter/", "echt/unter/"}, {"link/fehlt/neu", "echt/fehlt/neu"},
                            {"tief/../x", "echt/x"}, {"link/fehlt/../unter", "echt/unter"}, {"leer/a", "leer/a"},
                            {"./link//./unter", "echt/unter"}})
    EXPECT_EQ(fs::realName(t.pfad() + rein), b + raus) << rein;
  EXPECT_EQ(fs::realName(""), "");
}

// A link is followed when it belongs to the running user, to root or to the
// owner of what it leads to, wherever it stands on the way: as root (links
// of nobody and of daemon made by lchown) and, on the same tree, as nobody.
TEST(Dateisystem, VerknuepfungenAndererBenutzerWerdenNichtGefolgt) {
  static const char* const kBaum = "MOSAIK_TEST_VERKNUEPFUNGEN";
  const bool alsRoot = ::geteuid() == 0;
  const char* baum = ::getenv(kBaum);
  if (!alsRoot && !baum) return;  // links of other owners need root to make (CI is root)
  const test::TempOrdner t;
  const std::string b = baum ? baum : t.pfad();
  const uid_t kNobody = 65534, kDaemon = 1;
  const struct {
    const char *link, *ziel;  // the link made for the row, if any
    uid_t besitzer;
    const char* pfad;
    const char *fremdAlsRoot, *fremdAlsNobody;  // the refused link, "" when none
    const char* inhalt;                         // what a read that is let through gives
  } faelle[] = {
      {"root_root", "root.txt", 0, "root_root", "", "", "root.txt"},
      {"nobody_root", "root.txt", kNobody, "nobody_root", "nobody_root", "", "root.txt"},
      {"nobody_nobody", "nobody.txt", kNobody, "nobody_nobody", "", "", "nobody.txt"},
      {"daemon_nobody", "nobody.txt", kDaemon, "daemon_nobody", "daemon_nobody", "daemon_nobody", "nobody.txt"},
      {"nobody_leer", "fehlt.txt", kNobody, "nobody_leer", "nobody_leer", "", nullptr},
      {"nobody_ordner", "ordner", kNobody, "nobody_ordner/bild.txt", "nobody_ordner", "", "ordner/bild.txt"},
      {"nobody_kette", "root_root", kNobody, "nobody_kette", "nobody_kette", "", "root.txt"},
      {"root_kette", "nobody_root", 0, "root_kette", "nobody_root", "", "root.txt"},
      {nullptr, nullptr, 0, "ordner/../nobody_root", "nobody_root", "", "root.txt"},
  };
  if (alsRoot) {
    ::chmod(b.c_str(), 0755);
    std::filesystem::create_directory(b + "ordner");
    for (auto [name, besitzer] : {std::pair{"root.txt", 0u}, {"nobody.txt", kNobody}, {"ordner/bild.txt", 0u}}) {
      std::ofstream(b + name) << name;
      ASSERT_EQ(::chown((b + name).c_str(), besitzer, besitzer), 0);
    }
    for (const auto& f : faelle) {
      if (!f.link) continue;
      ASSERT_EQ(::symlink(f.ziel, (b + f.link).c_str()), 0);
      ASSERT_EQ(::lchown((b + f.link).c_str(), f.besitzer, f.besitzer), 0);
    }
  }
  for (const auto& f : faelle) {
    SCOPED_TRACE(std::string(f.pfad) + (alsRoot ? " als root" : " als nobody"));
    const std::string pfad = b + f.pfad;
    const std::string fremd = alsRoot ? f.fremdAlsRoot : f.fremdAlsNobody;
    EXPECT_EQ(fs::foreignLink(pfad).value_or(""), fremd.empty() ? "" : b + fremd);
    EXPECT_EQ(fs::linkTrusted(pfad), fremd != std::filesystem::path(f.pfad).filename());  // the name itself
    std::string warum;
    EXPECT_EQ(fs::readFile(pfad, &warum).value_or("-"), fremd.empty() && f.inhalt ? f.inhalt : "-");
    // A refused link names itself; any other failure says why, as for a
    // text file.
    EXPECT_EQ(warum, !fremd.empty() ? fs::foreignLinkText(b + fremd, pfad)
                     : f.inhalt     ? ""
                                    : "Sie kann nicht geöffnet werden (nicht vorhanden).");
  }
  if (!alsRoot) return;
  // Nothing is written through such a link either: the file keeps its
  // bytes, and no probe file is made in the folder (outside a run too).
  EXPECT_FALSE(fs::rewriteOriginal(b + "nobody_root", "neu").written);
  EXPECT_EQ(*fs::readFile(b + "root.txt"), "root.txt");
  EXPECT_FALSE(fs::probeWritable(b + "nobody_ordner/", "probe"));

  // A folder that nobody exchanges with their link to root's folder all the
  // while is gone into or refused as that link, never said to be missing or
  // no folder.
  const std::string tausch = b + "tausch/";
  std::filesystem::create_directories(tausch + "d");
  ASSERT_EQ(::symlink((b + "ordner").c_str(), (tausch + "l").c_str()), 0);
  for (const char* n : {"", "d", "l"}) ASSERT_EQ(::lchown((tausch + n).c_str(), kNobody, kNobody), 0);
  const pid_t tauscher = ::fork();
  if (tauscher == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) _exit(3);
    for (;;) ::renameat2(AT_FDCWD, (tausch + "d").c_str(), AT_FDCWD, (tausch + "l").c_str(), RENAME_EXCHANGE);
  }
  std::set<std::string> gruende;
  for (int i = 0; i < 20000; ++i) {
    std::string warum;
    if (!fs::openFolder(tausch + "d", false, &warum)) gruende.insert(warum);
  }
  ::kill(tauscher, SIGKILL);
  ::waitpid(tauscher, nullptr, 0);
  EXPECT_THAT(gruende, ::testing::IsSubsetOf({fs::foreignLinkText(tausch + "d", tausch + "d")}));
  ::setenv(kBaum, b.c_str(), 1);
  test::AlsNobodyWiederholt();
  ::unsetenv(kBaum);
}

}  // namespace
}  // namespace mosaik
