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
#include "platform/Sha256.h"

namespace mosaik {
namespace {

namespace sfs = std::filesystem;

const std::string kKopf = "# Mosaikschauer: Bilder, die das Programm in diesem Ordner geschrieben hat.\n";

struct stat Stat(const std::string& pfad) {
  struct stat st {};
  EXPECT_EQ(::stat(pfad.c_str(), &st), 0) << pfad;
  return st;
}

std::string Digest(const std::string& pfad) { return sha256Hex(test::dateiInhalt(pfad)); }

std::string Zeile(const struct stat& st, const std::string& name, const std::string& digest) {
  return std::to_string(st.st_ino) + " " + std::to_string(st.st_size) + " " + std::to_string(st.st_mtim.tv_sec) +
         " " + std::to_string(st.st_mtim.tv_nsec) + " " + std::to_string(st.st_ctim.tv_sec) + " " +
         std::to_string(st.st_ctim.tv_nsec) + " sha256:" + digest + " " + name + "\n";
}
std::string Zeile(const std::string& ordner, const std::string& name, const std::string& alsName) {
  return Zeile(Stat(ordner + name), alsName, Digest(ordner + name));
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
  const bool ok = Ableitungsbuch(ordner).eintragen({name, Stat(ordner + name), Digest(ordner + name)}, grund);
  EXPECT_EQ(grund, "");
  return ok;
}

TEST(Ableitungsbuch, ZeilenUndWasSieBezeugen) {
  test::TempOrdner tmp;
  const std::string d = tmp.pfad();
  ASSERT_TRUE(fs::writeFileAtomic(d + "a.jpg", "abc"));
  ASSERT_TRUE(fs::writeFileAtomic(d + "b%\n .jpg", "de"));
  ASSERT_TRUE(Eintragen(d, "a.jpg"));
  ASSERT_TRUE(Eintragen(d, "b%\n .jpg"));
  // Names that would break a line or a field, and the escape itself, as %XX.
  EXPECT_EQ(*fs::readFile(d + kAbleitungsbuch), kKopf + Zeile(d, "a.jpg", "a.jpg") + Zeile(d, "b%\n .jpg", "b%25%0A%20.jpg"));
  EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_TRUE(Ableitungsbuch(d).kennt("b%\n .jpg", Stat(d + "b%\n .jpg")));
  // A file the run writes is entered before it takes its name and once it
  // has it (the rename gave it a new change time): the next run proves it
  // without reading it.
  std::string grund;
  Ableitungsbuecher buecher;
  const Verzeichnung neu(d + "n.jpg", &buecher, grund);
  ASSERT_TRUE(fs::writeFileAtomic(d + "n.jpg", "neu", false, nullptr, neu.vorher()));
  neu.nachher();
  const Nachweis n = Ableitungsbuch(d).nachweis("n.jpg", Stat(d + "n.jpg"));
  EXPECT_TRUE(n.gilt && !n.veraltet) << *fs::readFile(d + kAbleitungsbuch);
  EXPECT_EQ(n.digest, sha256Hex("neu"));

  // What a user's copy or change does: another file of the same size put in
  // its place with the same time (cp -p), the same written into the file
  // itself and dated back (cat > a.jpg; touch -r), one of another size. A
  // faithful copy (cp -a, tar, rsync -a), a new date (touch) or a new name
  // (mv) keeps the content: proven by the digest, to be entered anew.
  const struct {
    const char* fall;
    std::function<void()> tun;
    const char* name;
    bool gilt;
  } faelle[] = {
      {"anderes, gleich groß", [&] { ASSERT_TRUE(fs::writeFileAtomic(d + "a.jpg", "xyz")); }, "a.jpg", false},
      {"hineingeschrieben", [&] { test::dateiAblegen(d + "a.jpg", "xyz"); }, "a.jpg", false},
      {"andere Größe", [&] { test::dateiAblegen(d + "a.jpg", "anders"); }, "a.jpg", false},
      {"Kopie", [&] { ASSERT_TRUE(fs::writeFileAtomic(d + "a.jpg", "abc")); }, "a.jpg", true},
      {"neues Datum", [] {}, "a.jpg", true},
      {"umbenannt", [&] { sfs::rename(d + "a.jpg", d + "z.jpg"); }, "z.jpg", true},
      {"umbenannt und verändert", [&] { sfs::rename(d + "a.jpg", d + "z.jpg"); test::dateiAblegen(d + "z.jpg", "xyz"); },
       "z.jpg", false},
  };
  for (const auto& f : faelle) {
    sfs::remove(d + "z.jpg");
    ASSERT_TRUE(fs::writeFileAtomic(d + "a.jpg", "abc"));
    ASSERT_TRUE(Eintragen(d, "a.jpg"));
    timespec zeit = Stat(d + "a.jpg").st_mtim;
    EXPECT_EQ(Ableitungsbuch(d).nachweis("a.jpg", Stat(d + "a.jpg")).veraltet, false) << f.fall;
    f.tun();
    zeit.tv_nsec = (zeit.tv_nsec + (std::string(f.fall) == "neues Datum")) % 1000000000L;
    ASSERT_TRUE(fs::setModTime(d + f.name, zeit));
    const Nachweis n = Ableitungsbuch(d).nachweis(f.name, Stat(d + f.name));
    EXPECT_EQ(n.gilt, f.gilt) << f.fall;
    EXPECT_EQ(n.veraltet, f.gilt) << f.fall;
    EXPECT_EQ(n.digest, f.gilt ? sha256Hex("abc") : "") << f.fall;
  }

  const std::string buch = d + kAbleitungsbuch;
  for (const char* n : {"a.jpg", "b.jpg", "c.jpg"}) ASSERT_TRUE(fs::writeFileAtomic(d + n, n));
  const std::string a = Zeile(d, "a.jpg", "a.jpg"), b = Zeile(d, "b.jpg", "b.jpg"), c = Zeile(d, "c.jpg", "c.jpg");
  // A run killed while it appended: a last line without its end counts for
  // nothing, even one cut only in its name; the next entry begins a line of
  // its own, and the cut one is marked so that it never reads as a line of
  // an earlier version. Lines of another kind (edited by hand, a missing
  // blank, a digest cut short) count for nothing.
  const std::string kurz = b.substr(0, b.find("sha256:") + 20) + " b.jpg\n";
  ASSERT_TRUE(fs::writeFileAtomic(buch, kKopf + "x" + a + a.substr(0, a.rfind(' ')) + "\n" + kurz + b +
                                            c.substr(0, c.find(' ', c.find(' ', c.find(' ') + 1) + 1) + 3)));
  EXPECT_FALSE(Ableitungsbuch(d).kennt("a.jpg", Stat(d + "a.jpg")));
  EXPECT_TRUE(Ableitungsbuch(d).kennt("b.jpg", Stat(d + "b.jpg")));
  EXPECT_EQ(Ableitungsbuch(d).eintraege(), 1u);
  ASSERT_TRUE(Eintragen(d, "a.jpg"));
  EXPECT_TRUE(Ableitungsbuch(d).kennt("a.jpg", Stat(d + "a.jpg")));
  EXPECT_FALSE(Ableitungsbuch(d).kennt("c.jpg", Stat(d + "c.jpg")));
  EXPECT_NE(fs::readFile(buch)->find("\t(abgebrochen)\n"), std::string::npos);
  // An earlier version's line (no digest) speaks by inode, size and time;
  // the file takes on its digest.
  const struct stat cs = Stat(d + "c.jpg");
  ASSERT_TRUE(fs::writeFileAtomic(buch, kKopf + std::to_string(cs.st_ino) + " 5 " + std::to_string(cs.st_mtim.tv_sec) +
                                            " " + std::to_string(cs.st_mtim.tv_nsec) + " c mit Blank.jpg\n"));
  const Nachweis alt = Ableitungsbuch(d).nachweis("c.jpg", cs);
  EXPECT_TRUE(alt.gilt && alt.veraltet);
  EXPECT_EQ(alt.digest, sha256Hex("c.jpg"));

  // A record that is a link is neither read nor written through: it could
  // make another folder's record speak for this one (here for a second name
  // of a file it names). It is replaced by a record of its own.
  const std::string e = tmp.pfad() + "e/";
  sfs::create_directory(e);
  ASSERT_TRUE(Eintragen(d, "a.jpg"));
  ASSERT_EQ(::link((d + "a.jpg").c_str(), (e + "a.jpg").c_str()), 0);
  sfs::create_symlink(buch, e + kAbleitungsbuch);
  const std::string vorher = *fs::readFile(buch);
  EXPECT_FALSE(Ableitungsbuch(e).kennt("a.jpg", Stat(e + "a.jpg")));
  EXPECT_EQ(Ableitungsbuch(e).warum(),
            "Die Liste der erzeugten Bilder " + e + kAbleitungsbuch + " zählt nicht: Sie ist eine Verknüpfung.");
  ASSERT_TRUE(Eintragen(e, "a.jpg"));
  EXPECT_EQ(*fs::readFile(buch), vorher);
  EXPECT_EQ(*fs::readFile(e + kAbleitungsbuch), kKopf + Zeile(e, "a.jpg", "a.jpg"));
}

// A run reads a folder's record once, whatever path it reaches the folder
// by, and knows every entry it makes at once, also where it writes the
// record anew; a folder it locks is no other run's until it ends.
TEST(Ableitungsbuch, EinmalGelesenUndFuerDenLaufGesperrt) {
  test::TempOrdner tmp;
  const std::string d = tmp.pfad() + "g/", buch = d + kAbleitungsbuch, link = tmp.pfad() + "link";
  sfs::create_directory(d);
  sfs::create_directory_symlink(d, link);
  for (const char* n : {"a.jpg", "b.jpg", "c.jpg", "n.jpg"}) ASSERT_TRUE(fs::writeFileAtomic(d + n, n));
  ASSERT_TRUE(Eintragen(d, "a.jpg"));
  Ableitungsbuecher lauf;
  Ableitungsbuch& x = lauf.buch(d);
  EXPECT_EQ(&lauf.buch(tmp.pfad() + "g"), &x);
  EXPECT_EQ(&lauf.buch(link + "/"), &x);
  ASSERT_TRUE(Eintragen(d, "c.jpg"));  // by another hand meanwhile
  EXPECT_TRUE(x.kennt("a.jpg", Stat(d + "a.jpg")));
  EXPECT_FALSE(lauf.buch(d).kennt("c.jpg", Stat(d + "c.jpg")));
  std::string grund;
  ASSERT_TRUE(x.eintragen({"b.jpg", Stat(d + "b.jpg"), Digest(d + "b.jpg")}, grund)) << grund;
  EXPECT_TRUE(lauf.buch(link).kennt("b.jpg", Stat(d + "b.jpg")));
  EXPECT_EQ(*fs::readFile(buch), kKopf + Zeile(d, "a.jpg", "a.jpg") + Zeile(d, "c.jpg", "c.jpg") +
                                     Zeile(d, "b.jpg", "b.jpg"));
  // Written anew from what it proved, it speaks for those files and the
  // entries after; one it may not add to in place (a second name) is
  // written anew with the entries made so far.
  ASSERT_TRUE(x.neuSchreiben({{"a.jpg", Stat(d + "a.jpg"), Digest(d + "a.jpg")}}));
  EXPECT_FALSE(x.kennt("b.jpg", Stat(d + "b.jpg")));
  ASSERT_EQ(::link(buch.c_str(), (tmp.pfad() + "schnappschuss").c_str()), 0);
  Ableitungsbuch y(d);
  ASSERT_TRUE(y.ersetzen());
  for (const char* n : {"b.jpg", "n.jpg"}) ASSERT_TRUE(y.eintragen({n, Stat(d + n), Digest(d + n)}, grund)) << grund;
  EXPECT_EQ(*fs::readFile(buch), kKopf + Zeile(d, "a.jpg", "a.jpg") + Zeile(d, "b.jpg", "b.jpg") +
                                     Zeile(d, "n.jpg", "n.jpg"));
  EXPECT_EQ(Stat(buch).st_nlink, 1u);
  EXPECT_TRUE(y.kennt("n.jpg", Stat(d + "n.jpg")) && y.kennt("a.jpg", Stat(d + "a.jpg")));

  // Locked once for the run (again by it, under another path, passes);
  // another run is turned away until the first ends. A folder that is not
  // there is no reason to stop.
  {
    Ableitungsbuecher erster;
    ASSERT_TRUE(erster.sperren(d));
    EXPECT_TRUE(erster.sperren(link));
    Ableitungsbuecher zweiter;
    EXPECT_FALSE(zweiter.sperren(d));
    EXPECT_FALSE(zweiter.sperren(link + "/"));
    EXPECT_TRUE(zweiter.sperren(tmp.pfad() + "fehlt/"));
  }
  EXPECT_TRUE(Ableitungsbuecher().sperren(d));
}

// A record that another user could have written, or that would carry a
// write to another file, speaks for nothing and is never added to in
// place: one of several names that is no record (a hard link to a script
// elsewhere), one others may write (made through a link to a device others
// may write), one too large to be read. It is replaced by a record of mode 0644 holding only
// the new entry.
TEST(Ableitungsbuch, ListeDieNichtsBezeugt) {
  test::TempOrdner tmp;
  const std::string d = tmp.pfad(), buch = d + kAbleitungsbuch, skript = tmp.pfad() + "skript.sh";
  ASSERT_TRUE(fs::writeFileAtomic(d + "a.jpg", "abc"));
  const std::string zeile = Zeile(d, "a.jpg", "a.jpg");
  const std::string warum = "Die Liste der erzeugten Bilder " + buch + " zählt nicht: ";
  const struct {
    std::function<void()> anlegen;
    std::string grund;
  } faelle[] = {
      {[&] {
         ASSERT_TRUE(fs::writeFileAtomic(skript, "#!/bin/sh\n" + zeile));
         ASSERT_EQ(::chmod(skript.c_str(), 0644), 0);
         ASSERT_EQ(::link(skript.c_str(), buch.c_str()), 0);
       },
       "Sie hat 2 Namen (feste Verknüpfungen)."},
      {[&] {
         ASSERT_TRUE(fs::writeFileAtomic(skript, kKopf + zeile));
         ASSERT_EQ(::chmod(skript.c_str(), 0666), 0);
         sfs::create_symlink(skript, buch);
         ASSERT_TRUE(fs::writeFileAtomic(buch, kKopf + zeile));
         EXPECT_EQ(Stat(buch).st_mode & 07777, 0644u) << "Rechte vom Ziel der Verknüpfung übernommen";
         ASSERT_EQ(::chmod(buch.c_str(), 0664), 0);
       },
       "Andere Benutzer dürfen sie ändern."},
      {[&] {
         ASSERT_TRUE(fs::writeFileAtomic(buch, kKopf + zeile));
         ::truncate(buch.c_str(), fs::kMaxTextFileBytes + 1);
       },
       "Sie ist mit 67108865 Bytes zu groß für eine Textdatei (höchstens 64 MiB)."},
  };
  for (const auto& f : faelle) {
    sfs::remove(buch);
    sfs::remove(skript);
    f.anlegen();
    const std::string skriptVorher = sfs::exists(skript) ? test::dateiInhalt(skript) : "";
    const Ableitungsbuch b(d);
    EXPECT_FALSE(b.kennt("a.jpg", Stat(d + "a.jpg"))) << f.grund;
    EXPECT_TRUE(b.ersetzen()) << f.grund;
    EXPECT_EQ(b.warum(), warum + f.grund);
    ASSERT_TRUE(Eintragen(d, "a.jpg"));
    EXPECT_EQ(*fs::readFile(buch), kKopf + zeile) << f.grund;
    EXPECT_EQ(Stat(buch).st_mode & 07777, 0644u) << f.grund;
    EXPECT_EQ(Stat(buch).st_nlink, 1u) << f.grund;
    if (!skriptVorher.empty()) {
      EXPECT_EQ(test::dateiInhalt(skript), skriptVorher) << f.grund;
    }
  }
  // A record of ours with a second name (a snapshot by `cp -al`) still
  // speaks; it is replaced, its lines kept, and the snapshot stays.
  sfs::remove(skript);
  ASSERT_EQ(::link(buch.c_str(), skript.c_str()), 0);
  const Ableitungsbuch b(d);
  EXPECT_TRUE(b.kennt("a.jpg", Stat(d + "a.jpg")));
  EXPECT_TRUE(b.ersetzen());
  ASSERT_TRUE(Eintragen(d, "a.jpg"));
  EXPECT_EQ(*fs::readFile(buch), kKopf + zeile + zeile);
  EXPECT_EQ(Stat(buch).st_nlink, 1u);
  EXPECT_EQ(test::dateiInhalt(skript), kKopf + zeile);
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
  const std::string nz = Zeile(d, "nobody.jpg", "nobody.jpg");
  ASSERT_TRUE(fs::writeFileAtomic(buch, kKopf + Zeile(d, "root.jpg", "root.jpg") + nz));
  // In a folder of its own the record's owner could remove root's file
  // anyway: there the record speaks for it too.
  const struct {
    uid_t ordner, besitzer;
    bool root, nobody;
  } faelle[] = {{0, 65534, false, true},     {0, 12345, false, false},     {0, 0, true, true},
                {65534, 65534, true, true}, {65534, 12345, false, false}};
  for (const auto& f : faelle) {
    ASSERT_EQ(::chown(d.c_str(), f.ordner, f.ordner), 0);
    ASSERT_EQ(::chown(buch.c_str(), f.besitzer, f.besitzer), 0);
    EXPECT_EQ(Ableitungsbuch(d).kennt("root.jpg", Stat(d + "root.jpg")), f.root) << f.ordner << " " << f.besitzer;
    EXPECT_EQ(Ableitungsbuch(d).kennt("nobody.jpg", n), f.nobody) << f.ordner << " " << f.besitzer;
  }
  ASSERT_EQ(::chown(d.c_str(), 0, 0), 0);
  // A record nobody may not write, in a folder nobody may write, is written
  // anew: user 12345's without its lines, which would speak for every file
  // under nobody's name; nobody's own (read-only) with them.
  ASSERT_EQ(::chown(buch.c_str(), 12345, 12345), 0);
  std::string grund;
  const Verzeichnet eintrag{"nobody.jpg", n, Digest(d + "nobody.jpg")};
  ASSERT_TRUE(AlsNobody([&] {
    return Ableitungsbuch(d).eintragen(eintrag, grund) && ::chmod(buch.c_str(), 0444) == 0 &&
           Ableitungsbuch(d).eintragen(eintrag, grund);
  }));
  EXPECT_EQ(*fs::readFile(buch), kKopf + nz + nz);
  // In a folder nobody may not write it cannot be kept: said so.
  ASSERT_EQ(::chmod(d.c_str(), 0755), 0);
  ASSERT_EQ(::chmod(buch.c_str(), 0444), 0);
  const std::string erwartet = "Im Ordner " + d + " kann die Liste der erzeugten Bilder .mosaikschauer-bilder nicht "
                               "fortgeschrieben werden (" + fs::reasonText(EACCES) + ").";
  EXPECT_TRUE(AlsNobody([&] { return !Ableitungsbuch(d).eintragen(eintrag, grund) && grund == erwartet; }));
}

}  // namespace
}  // namespace mosaik
