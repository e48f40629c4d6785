#include "generator/Ableitungsbuch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "AlsNobody.h"
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

bool Eintragen(const std::string& ordner, const std::string& name) {
  std::string grund;
  const bool ok = AbleitungEintragen(ordner, name, Stat(ordner + name), grund);
  EXPECT_EQ(grund, "");
  return ok;
}

TEST(Ableitungsbuch, ZeilenUndWasSieBezeugen) {
  test::TempOrdner tmp;
  const std::string d = tmp.pfad();
  const std::string buch = d + kAbleitungsbuch;
  ASSERT_TRUE(fs::writeFileAtomic(d + "a.jpg", "abc"));
  ASSERT_TRUE(fs::writeFileAtomic(d + "b%\n.jpg", "de"));
  EXPECT_FALSE(Ableitungsbuch(d).kennt(Stat(d + "a.jpg")));
  ASSERT_TRUE(Eintragen(d, "a.jpg"));
  ASSERT_TRUE(Eintragen(d, "b%\n.jpg"));
  // Names that would break a line, and the escape itself, as %XX.
  EXPECT_EQ(*fs::readFile(buch),
            kKopf + Zeile(Stat(d + "a.jpg"), "a.jpg") + Zeile(Stat(d + "b%\n.jpg"), "b%25%0A.jpg"));
  EXPECT_TRUE(Ableitungsbuch(d).kennt(Stat(d + "a.jpg")));
  EXPECT_TRUE(Ableitungsbuch(d).kennt(Stat(d + "b%\n.jpg")));

  // A rename by the program keeps the file what it was.
  ASSERT_EQ(::rename((d + "b%\n.jpg").c_str(), (d + "b.jpg").c_str()), 0);
  EXPECT_TRUE(Ableitungsbuch(d).kennt(Stat(d + "b.jpg")));

  // What a user's copy does: another file put in its place with the same
  // time (cp -p), the same file written over (other size), or only its time
  // changed. None of them is the program's any longer.
  const struct stat a = Stat(d + "a.jpg");
  ASSERT_TRUE(fs::writeFileAtomic(d + "neu", "xyz"));
  ASSERT_TRUE(fs::setModTime(d + "neu", a.st_mtim));
  ASSERT_EQ(::rename((d + "neu").c_str(), (d + "a.jpg").c_str()), 0);
  EXPECT_EQ(Stat(d + "a.jpg").st_size, a.st_size);
  EXPECT_FALSE(Ableitungsbuch(d).kennt(Stat(d + "a.jpg")));
  const struct stat b = Stat(d + "b.jpg");
  std::ofstream(d + "b.jpg", std::ios::binary | std::ios::trunc) << "anders";
  ASSERT_TRUE(fs::setModTime(d + "b.jpg", b.st_mtim));
  EXPECT_EQ(Stat(d + "b.jpg").st_ino, b.st_ino);
  EXPECT_FALSE(Ableitungsbuch(d).kennt(Stat(d + "b.jpg")));
  ASSERT_TRUE(Eintragen(d, "b.jpg"));
  struct timespec spaeter = Stat(d + "b.jpg").st_mtim;
  spaeter.tv_nsec = (spaeter.tv_nsec + 1) % 1000000000L;
  ASSERT_TRUE(fs::setModTime(d + "b.jpg", spaeter));
  EXPECT_FALSE(Ableitungsbuch(d).kennt(Stat(d + "b.jpg")));
}

TEST(Ableitungsbuch, AbgebrocheneUndFremdeZeilen) {
  test::TempOrdner tmp;
  const std::string d = tmp.pfad();
  const std::string buch = d + kAbleitungsbuch;
  for (const char* n : {"a.jpg", "b.jpg", "c.jpg"}) ASSERT_TRUE(fs::writeFileAtomic(d + n, n));
  const std::string a = Zeile(Stat(d + "a.jpg"), "a.jpg");
  const std::string b = Zeile(Stat(d + "b.jpg"), "b.jpg");
  const std::string c = Zeile(Stat(d + "c.jpg"), "c.jpg");
  // A run killed while it appended: the line cut off counts for nothing,
  // the next entry begins a line of its own. Lines of another kind (edited
  // by hand, nanoseconds out of range, a missing blank) count for nothing.
  const struct stat sa = Stat(d + "a.jpg");
  const std::string nsek = std::to_string(sa.st_ino) + " " + std::to_string(sa.st_size) + " " +
                           std::to_string(sa.st_mtim.tv_sec) + " 1000000000 a.jpg\n";
  ASSERT_TRUE(fs::writeFileAtomic(buch, kKopf + "x" + a + nsek + a.substr(0, a.rfind(' ')) + "\n" + b +
                                            c.substr(0, c.find(' ', c.find(' ') + 1))));
  EXPECT_FALSE(Ableitungsbuch(d).kennt(Stat(d + "a.jpg")));
  EXPECT_TRUE(Ableitungsbuch(d).kennt(Stat(d + "b.jpg")));
  EXPECT_FALSE(Ableitungsbuch(d).kennt(Stat(d + "c.jpg")));
  ASSERT_TRUE(Eintragen(d, "a.jpg"));
  EXPECT_EQ(fs::readFile(buch)->substr(fs::readFile(buch)->size() - a.size() - 1), "\n" + a);
  EXPECT_TRUE(Ableitungsbuch(d).kennt(Stat(d + "a.jpg")));
  EXPECT_FALSE(Ableitungsbuch(d).kennt(Stat(d + "c.jpg")));

  // A record that is a link is neither read nor written through: it could
  // make another folder's record speak for this one.
  const std::string e = tmp.pfad() + "e/";
  sfs::create_directory(e);
  ASSERT_TRUE(fs::writeFileAtomic(e + "a.jpg", "a.jpg"));
  sfs::create_symlink(buch, e + kAbleitungsbuch);
  EXPECT_FALSE(Ableitungsbuch(e).kennt(Stat(e + "a.jpg")));
  std::string grund;
  EXPECT_FALSE(AbleitungEintragen(e, "a.jpg", Stat(e + "a.jpg"), grund));
  EXPECT_EQ(grund, "Im Ordner " + e + " kann die Liste der erzeugten Bilder .mosaikschauer-bilder nicht "
                   "fortgeschrieben werden (" + fs::reasonText(ELOOP) + ").");
}

TEST(Ableitungsbuch, FremdeListeUndVerschlossenerOrdner) {
  if (test::AlsNobodyWiederholt()) return;
  test::TempOrdner tmp;
  const std::string d = tmp.pfad();
  const std::string buch = d + kAbleitungsbuch;
  for (const char* n : {"a.jpg", "b.jpg"}) ASSERT_TRUE(fs::writeFileAtomic(d + n, n));
  ASSERT_TRUE(Eintragen(d, "a.jpg"));
  // A record the user may not write (left by another user) in a folder the
  // user may write is written anew, its entries kept.
  ASSERT_EQ(::chmod(buch.c_str(), 0444), 0);
  ASSERT_TRUE(Eintragen(d, "b.jpg"));
  EXPECT_TRUE(Ableitungsbuch(d).kennt(Stat(d + "a.jpg")));
  EXPECT_TRUE(Ableitungsbuch(d).kennt(Stat(d + "b.jpg")));
  // In a folder the user may not write at all it cannot be kept: said so.
  ASSERT_EQ(::chmod(buch.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(d.c_str(), 0555), 0);
  std::string grund;
  EXPECT_FALSE(AbleitungEintragen(d, "b.jpg", Stat(d + "b.jpg"), grund));
  EXPECT_EQ(grund, "Im Ordner " + d + " kann die Liste der erzeugten Bilder .mosaikschauer-bilder nicht "
                   "fortgeschrieben werden (" + fs::reasonText(EACCES) + ").");
  ::chmod(d.c_str(), 0755);
}

// A record another user left in a shared folder speaks only for that
// user's files: it must not make root's photos there count as derived ones.
// Written anew by a user who may not write it, its lines are not kept.
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
  ASSERT_TRUE(fs::writeFileAtomic(
      buch, kKopf + Zeile(Stat(d + "root.jpg"), "root.jpg") + Zeile(Stat(d + "nobody.jpg"), "nobody.jpg")));
  struct Fall {
    uid_t besitzer;
    bool root, nobody;
  };
  for (const Fall f : {Fall{65534, false, true}, Fall{12345, false, false}, Fall{0, true, true}}) {
    ASSERT_EQ(::chown(buch.c_str(), f.besitzer, f.besitzer), 0);
    EXPECT_EQ(Ableitungsbuch(d).kennt(Stat(d + "root.jpg")), f.root) << f.besitzer;
    EXPECT_EQ(Ableitungsbuch(d).kennt(Stat(d + "nobody.jpg")), f.nobody) << f.besitzer;
  }
  // nobody enters a file into the record of user 12345, which it may not
  // write: the new record is nobody's and names only that file.
  ASSERT_EQ(::chown(buch.c_str(), 12345, 12345), 0);
  ASSERT_EQ(::chmod(buch.c_str(), 0644), 0);
  const pid_t kind = ::fork();
  ASSERT_GE(kind, 0);
  if (kind == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) _exit(3);
    std::string grund;
    _exit(AbleitungEintragen(d, "nobody.jpg", Stat(d + "nobody.jpg"), grund) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(kind, &status, 0), kind);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(*fs::readFile(buch), kKopf + Zeile(Stat(d + "nobody.jpg"), "nobody.jpg"));
  EXPECT_EQ(Stat(buch).st_uid, 65534u);
}

}  // namespace
}  // namespace mosaik
