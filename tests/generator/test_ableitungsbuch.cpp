#include "generator/Ableitungsbuch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "TempOrdner.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

namespace sfs = std::filesystem;

const std::string kKopf = "# Mosaikschauer: Bilder, die das Programm in diesem Ordner geschrieben hat.\n";

struct stat Stat(const std::string& pfad) {
  struct stat st {};
  EXPECT_EQ(::stat(pfad.c_str(), &st), 0) << pfad;
  return st;
}

std::string Zeile(const struct stat& st, const std::string& name) {
  return std::to_string(st.st_ino) + " " + std::to_string(st.st_size) + " " + std::to_string(st.st_mtim.tv_sec) +
         " " + std::to_string(st.st_mtim.tv_nsec) + " " + name + "\n";
}

// Runs schritt as the user nobody in a child process; its verdict.
bool AlsNobody(const std::function<bool()>& schritt) {
  const pid_t kind = ::fork();
  if (kind == 0) _exit(::setgid(65534) == 0 && ::setuid(65534) == 0 && schritt() ? 0 : 1);
  int status = 0;
  return kind > 0 && ::waitpid(kind, &status, 0) == kind && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool Eintragen(const std::string& ordner, const std::string& name) {
  std::string grund;
  const bool ok = AbleitungEintragen(ordner, name, Stat(ordner + name), grund);
  EXPECT_EQ(grund, "");
  return ok;
}

TEST(Ableitungsbuch, ZeilenUndWasSieBezeugen) {
  test::TempOrdner tmp;
  const std::string d = tmp.pfad();
  ASSERT_TRUE(fs::writeFileAtomic(d + "a.jpg", "abc"));
  ASSERT_TRUE(fs::writeFileAtomic(d + "b%\n.jpg", "de"));
  ASSERT_TRUE(Eintragen(d, "a.jpg"));
  ASSERT_TRUE(Eintragen(d, "b%\n.jpg"));
  // Names that would break a line, and the escape itself, as %XX.
  EXPECT_EQ(*fs::readFile(d + kAbleitungsbuch),
            kKopf + Zeile(Stat(d + "a.jpg"), "a.jpg") + Zeile(Stat(d + "b%\n.jpg"), "b%25%0A.jpg"));
  EXPECT_TRUE(Ableitungsbuch(d).kennt(Stat(d + "b%\n.jpg")));

  // What a user's copy does changes inode, size or time: another file of the
  // same size put in its place with the same time (cp -p), the file written
  // over, or only its time changed, by a nanosecond.
  for (const int fall : {0, 1, 2}) {
    ASSERT_TRUE(Eintragen(d, "a.jpg"));
    timespec zeit = Stat(d + "a.jpg").st_mtim;
    if (fall == 0) { ASSERT_TRUE(fs::writeFileAtomic(d + "a.jpg", "xyz")); }
    if (fall == 1) test::dateiAblegen(d + "a.jpg", "anders");
    zeit.tv_nsec = (zeit.tv_nsec + (fall == 2)) % 1000000000L;
    ASSERT_TRUE(fs::setModTime(d + "a.jpg", zeit));
    EXPECT_FALSE(Ableitungsbuch(d).kennt(Stat(d + "a.jpg"))) << fall;
  }

  const std::string buch = d + kAbleitungsbuch;
  for (const char* n : {"a.jpg", "b.jpg", "c.jpg"}) ASSERT_TRUE(fs::writeFileAtomic(d + n, n));
  const std::string a = Zeile(Stat(d + "a.jpg"), "a.jpg"), b = Zeile(Stat(d + "b.jpg"), "b.jpg"),
                    c = Zeile(Stat(d + "c.jpg"), "c.jpg");
  // A run killed while it appended: a last line without its end counts for
  // nothing, even one cut only in its name; the next entry begins a line of
  // its own. Lines of another kind (edited by hand, a missing blank) count
  // for nothing.
  ASSERT_TRUE(fs::writeFileAtomic(buch, kKopf + "x" + a + a.substr(0, a.rfind(' ')) + "\n" + b +
                                            c.substr(0, c.size() - 3)));
  EXPECT_FALSE(Ableitungsbuch(d).kennt(Stat(d + "a.jpg")));
  EXPECT_TRUE(Ableitungsbuch(d).kennt(Stat(d + "b.jpg")));
  EXPECT_FALSE(Ableitungsbuch(d).kennt(Stat(d + "c.jpg")));
  ASSERT_TRUE(Eintragen(d, "a.jpg"));
  EXPECT_TRUE(Ableitungsbuch(d).kennt(Stat(d + "a.jpg")));

  // A record that is a link is neither read nor written through: it could
  // make another folder's record speak for this one (here for a second name
  // of a file it names).
  const std::string e = tmp.pfad() + "e/";
  sfs::create_directory(e);
  ASSERT_EQ(::link((d + "a.jpg").c_str(), (e + "a.jpg").c_str()), 0);
  sfs::create_symlink(buch, e + kAbleitungsbuch);
  const std::string vorher = *fs::readFile(buch);
  EXPECT_FALSE(Ableitungsbuch(e).kennt(Stat(e + "a.jpg")));
  std::string grund;
  EXPECT_FALSE(AbleitungEintragen(e, "a.jpg", Stat(e + "a.jpg"), grund));
  EXPECT_EQ(*fs::readFile(buch), vorher);
}

// A record another user left in a shared folder speaks only for that
// user's files: it must not make root's photos there count as derived ones.
TEST(Ableitungsbuch, FremdeListeSprichtNurFuerDieDateienIhresBesitzers) {
  if (::geteuid() != 0) GTEST_SKIP() << "Dateien eines anderen Eigentümers kann nur root anlegen.";
  test::TempOrdner tmp;
  const std::string d = tmp.pfad() + "geteilt/";
  sfs::create_directory(d);
  ASSERT_EQ(::chmod(tmp.pfad().c_str(), 0755), 0);
  ASSERT_EQ(::chmod(d.c_str(), 0777), 0);
  const std::string buch = d + kAbleitungsbuch;
  for (const char* n : {"root.jpg", "nobody.jpg"}) ASSERT_TRUE(fs::writeFileAtomic(d + n, n));
  ASSERT_EQ(::chown((d + "nobody.jpg").c_str(), 65534, 65534), 0);
  const struct stat n = Stat(d + "nobody.jpg");
  ASSERT_TRUE(fs::writeFileAtomic(buch, kKopf + Zeile(Stat(d + "root.jpg"), "root.jpg") + Zeile(n, "nobody.jpg")));
  const struct {
    uid_t besitzer;
    bool root, nobody;
  } faelle[] = {{65534, false, true}, {12345, false, false}, {0, true, true}};
  for (const auto& f : faelle) {
    ASSERT_EQ(::chown(buch.c_str(), f.besitzer, f.besitzer), 0);
    EXPECT_EQ(Ableitungsbuch(d).kennt(Stat(d + "root.jpg")), f.root) << f.besitzer;
    EXPECT_EQ(Ableitungsbuch(d).kennt(n), f.nobody) << f.besitzer;
  }
  // A record nobody may not write, in a folder nobody may write, is written
  // anew: user 12345's without its lines, which would speak for every file
  // under nobody's name; nobody's own (read-only) with them.
  ASSERT_EQ(::chown(buch.c_str(), 12345, 12345), 0);
  std::string grund;
  ASSERT_TRUE(AlsNobody([&] {
    return AbleitungEintragen(d, "nobody.jpg", n, grund) && ::chmod(buch.c_str(), 0444) == 0 &&
           AbleitungEintragen(d, "nobody.jpg", n, grund);
  }));
  EXPECT_EQ(*fs::readFile(buch), kKopf + Zeile(n, "nobody.jpg") + Zeile(n, "nobody.jpg"));
  // In a folder nobody may not write it cannot be kept: said so.
  ASSERT_EQ(::chmod(d.c_str(), 0755), 0);
  const std::string erwartet = "Im Ordner " + d + " kann die Liste der erzeugten Bilder .mosaikschauer-bilder nicht "
                               "fortgeschrieben werden (" + fs::reasonText(EACCES) + ").";
  EXPECT_TRUE(AlsNobody([&] { return !AbleitungEintragen(d, "nobody.jpg", n, grund) && grund == erwartet; }));
}

}  // namespace
}  // namespace mosaik
