#include "generator/Generierung.h"

#include <sys/stat.h>

#include <exception>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "generator/Ableitungsbuch.h"
#include "generator/Bildpipeline.h"
#include "generator/Durchlauf.h"
#include "generator/Namen.h"
#include "generator/Seitenanzeige.h"
#include "generator/StyleSheet.h"
#include "generator/Umbenennen.h"
#include "generator/Weiterleitung.h"
#include "platform/CheckedFolders.h"
#include "platform/FileSystem.h"
#include "platform/Win1252.h"

namespace mosaik {
namespace {

const char* const kZeilenumbruch = "\r\n";

// Creates the folder when missing, keeps it open for the run's writes and
// tests that a file can be written there; reports the first failure and
// clears ok.
void OrdnerPruefen(Kontext& k, fs::CheckedFolders& geprueft, const std::string& ordner, bool& ok) {
  std::string grund;
  const bool neu = !fs::folderExists(ordner);
  if (!geprueft.add(ordner, true, grund)) {
    ok = false;
    k.fehler((neu ? "Kann das Verzeichnis " + ordner + " nicht erstellen!" : "Kann nicht im Verzeichnis " + ordner +
                                                                                 " speichern.") +
             kZeilenumbruch + "Programmabbruch!");
    return;
  }
  if (!OrdnerBeschreibbar(ordner)) {
    ok = false;
    k.fehler("Kann nicht im Verzeichnis " + ordner + " speichern." + kZeilenumbruch + "Programmabbruch!");
  }
}

// The folder as the file system names it (links resolved as far as it
// exists), with a trailing '/'.
std::string echterOrdner(const std::string& ordner) { return fs::withTrailingSlash(fs::realName(ordner)); }

bool innerhalb(const std::string& ordner, const std::string& wurzel) { return ordner.rfind(wurzel, 0) == 0; }

// A tree a folder of derived pictures mirrors, named as the subject and
// as the object of a message.
struct Gespiegelt {
  std::string baum, name, akkusativ;
};

// Where a run reads, as the checks of the derived folders need it.
struct Ablage {
  std::string bilder;                   // as the file system names it
  std::set<std::string> uebersprungen;  // folder names the walks skip
  std::set<std::string> standard;       // the folders the program names itself, as the file system names them
  // The run's records of its folders for derived pictures.
  Ableitungsbuecher& buecher;
  // Records to be written anew (grown long, another user's, files proven
  // by their content), with the files there that they speak for.
  std::vector<std::pair<Ableitungsbuch*, std::vector<Verzeichnet>>> aufzuraeumen;
  // Folders that keep a record and are not there yet: their kind (as a
  // message names it) and path, taken for the run once they are made.
  std::vector<std::pair<std::string, std::string>> nochNichtDa;
};

// A mirrored tree below the folder is reached by the walk unless a folder
// on the way is one the walks skip.
bool erreichbarUnter(const std::string& baum, const std::string& ordner, const Ablage& a) {
  std::string rest = baum.substr(ordner.size());
  for (size_t pos = 0; (pos = rest.find('/')) != std::string::npos; rest.erase(0, pos + 1))
    if (a.uebersprungen.count(rest.substr(0, pos))) return false;
  return true;
}

// The folder the program names itself for derived pictures: what earlier
// runs left there (pictures whose originals are gone, those of other sizes)
// is the gallery's own, as galleries of every version made it. Any other
// folder keeps a record of the pictures a run writes into it.
bool standardordner(const std::string& ordner, const std::string& standard) {
  return echterOrdner(ordner) == echterOrdner(standard);
}

// The first picture in the tree below the folder that its folder's record
// does not prove, as the lines that name it (and why that record speaks for
// nothing, when it does not): wherever the folder lies, a derived picture
// may replace only one the program can show it wrote. Folders the walks
// skip and those the program names itself are left out.
std::optional<std::string> fremdesBild(const Kontext& k, const std::string& ordner, Ablage& a) {
  Ableitungsbuch& buch = a.buecher.buch(ordner);
  std::vector<Verzeichnet> bekannt;
  bool auffrischen = buch.ersetzen();
  for (const fs::Entry& e : fs::listFolder(ordner)) {
    const std::string pfad = ordner + e.name;
    if (e.folder) {
      if (a.uebersprungen.count(e.name) || a.standard.count(echterOrdner(pfad))) continue;
      if (auto fremd = fremdesBild(k, pfad + "/", a)) return fremd;
      continue;
    }
    struct stat st {};
    const Nachweis n = fs::fileStatus(pfad, st, true) ? buch.nachweis(e.name, st) : Nachweis();
    if (n.gilt) {
      bekannt.push_back({e.name, st, n.digest});
      auffrischen = auffrischen || n.veraltet;
    } else if (IstBilddatei(k, e.name)) {
      std::string text = "Die Datei " + pfad + " wurde nicht von Mosaikschauer erzeugt oder seither verändert.";
      if (const std::string warum = buch.warum(); !warum.empty()) text += kZeilenumbruch + warum;
      return text;
    }
  }
  // Files proven by their content, and runs that replaced the pictures
  // again and again, leave a record to be written anew.
  if (auffrischen || buch.eintraege() > 2 * bekannt.size() + 16)
    a.aufzuraeumen.emplace_back(&buch, std::move(bekannt));
  return std::nullopt;
}

// A folder of derived pictures that keeps a record is the run's alone from
// here on: a run that finds another one at work there stops before it reads
// the record the other is writing. Then what stands there must be the
// program's.
void EigenenOrdnerPruefen(Kontext& k, const std::string& art, const std::string& ordner, Ablage& a, bool& ok) {
  if (!ok) return;
  std::string text = "Der Ordner für " + art + " " + ordner;
  if (!a.buecher.sperren(ordner)) {
    ok = false;
    k.fehler(text + " wird gerade von einem anderen Lauf von Mosaikschauer bearbeitet." + kZeilenumbruch +
             "Starten Sie diesen Lauf erneut, wenn jener beendet ist." + kZeilenumbruch + "Programmabbruch!");
    return;
  }
  const auto fremd = fremdesBild(k, fs::withTrailingSlash(ordner), a);
  if (!fremd) return;
  ok = false;
  k.fehler(text + " enthält Originalbilder." + kZeilenumbruch + "Die Originale würden überschrieben." +
           kZeilenumbruch + *fremd + kZeilenumbruch +
           "Verschieben Sie die Datei aus dem Ordner, oder leeren Sie den Ordner für einen Neuanfang." +
           kZeilenumbruch + "Programmabbruch!");
}

// A folder for derived pictures must never make a derived file's path that
// of an original: it may not be a tree it mirrors nor hold one where the
// walks go, and unless the program names it itself it may hold no picture
// the run did not write there.
void AbleitungsordnerPruefen(Kontext& k, const std::string& art, const std::string& ordner,
                             const std::string& standard, const std::vector<Gespiegelt>& gespiegelt, Ablage& a,
                             bool& ok) {
  if (!ok) return;
  const std::string d = echterOrdner(ordner);
  std::string grund;
  std::string betroffen = "Die Originale";
  for (const Gespiegelt& g : gespiegelt) {
    if (!grund.empty() || d != echterOrdner(g.baum)) continue;
    grund = " ist " + g.name + " selbst.";
    if (echterOrdner(g.baum) != a.bilder) betroffen = "Die großen Bilder";
  }
  for (const Gespiegelt& g : gespiegelt) {
    const std::string r = echterOrdner(g.baum);
    if (grund.empty() && r != d && innerhalb(r, d) && erreichbarUnter(r, d, a)) grund = " enthält " + g.akkusativ + ".";
  }
  if (grund.empty()) {
    if (standardordner(d, standard)) return;
    if (fs::folderExists(ordner))
      EigenenOrdnerPruefen(k, art, ordner, a, ok);
    else
      a.nochNichtDa.emplace_back(art, ordner);
    return;
  }
  ok = false;
  k.fehler("Der Ordner für " + art + " " + ordner + grund + kZeilenumbruch + betroffen + " würden überschrieben." +
           kZeilenumbruch + "Programmabbruch!");
}

// The picture folder and the output folders are never reached through a
// link another user made: asked before anything is read or written there.
void WegePruefen(Kontext& k, const std::string& quelle, const std::string& htmlOrdner, bool& ok) {
  if (!ok) return;
  if (const auto link = fs::foreignLink(quelle)) {
    ok = false;
    k.fehler("Der Bilderordner " + quelle + " wird nicht gelesen." + kZeilenumbruch + fs::foreignLinkText(*link) +
             kZeilenumbruch + "Programmabbruch!");
    return;
  }
  ok = AusgabeordnerVertraut(k, htmlOrdner, true) &&
       (!k.m.checked(Opt::CBOriginaleVerkleinern) || AusgabeordnerVertraut(k, GrosseBilderOrdner(k), true)) &&
       (!k.m.checked(Opt::CBVorschaubilderErzeugen) || AusgabeordnerVertraut(k, VorschauOrdner(k), true));
}

// The picture folder and the output folders that exist are held open from
// here on: what the checks below see is what the run writes into. An
// output folder holds no link to a folder (outside the other folders held):
// a write below it would go wherever the link leads.
void OrdnerFesthalten(Kontext& k, fs::CheckedFolders& geprueft, const std::string& quelle,
                      const std::vector<std::string>& ausgabe, bool& ok) {
  if (!ok) return;
  const auto festhalten = [&](const std::string& ordner, const std::string& kopf) {
    std::string grund;
    if (geprueft.add(ordner, false, grund)) return true;
    ok = false;
    k.fehler(kopf + kZeilenumbruch + grund + kZeilenumbruch + "Programmabbruch!");
    return false;
  };
  if (!festhalten(quelle, "Der Bilderordner " + quelle + " wird nicht gelesen.")) return;
  for (const std::string& ordner : ausgabe)
    if (fs::folderExists(ordner) && !festhalten(ordner, "Kann nicht im Verzeichnis " + ordner + " speichern.")) return;
  // The folders the program names itself for derived pictures may be the
  // user's own links also in a run that does not use them (reduction off
  // for once): it writes nothing there, and a write that would go there
  // is refused like any through a link.
  const std::set<std::string> standard = {OrdnerNormalisieren(standardOrdnerGrosseBilder(k)),
                                          OrdnerNormalisieren(standardOrdnerVorschaubilder(k))};
  const auto auslassen = [&](const std::string& p) {
    return geprueft.holds(p) || (standard.count(OrdnerNormalisieren(p)) && !fs::foreignLink(p));
  };
  for (const std::string& ordner : ausgabe) {
    if (!geprueft.holds(ordner) || gleicherOrdner(ordner, quelle)) continue;
    const auto link = fs::firstFolderLink(ordner, auslassen);
    if (!link) continue;
    ok = false;
    k.fehler("Der Ordner " + ordner + " enth\xC3\xA4lt die symbolische Verkn\xC3\xBCpfung " + *link +
             ", die zu einem Ordner f\xC3\xBChrt." + kZeilenumbruch +
             "Mosaikschauer schreibt nicht durch Verkn\xC3\xBCpfungen: Entfernen Sie sie, oder w\xC3\xA4hlen Sie "
             "einen anderen Ordner." +
             kZeilenumbruch + "Programmabbruch!");
    return;
  }
}

bool anUndGewaehlt(const OptionModel& m, Opt o) { return m.enabled(o) && m.checked(o); }

std::string mitSchraegstrich(std::string p) {
  ZeichenAnhaengen('/', p);
  return p;
}

}  // namespace

bool Lauf::pumpUndAbbruch() const {
  if (k.sv.pump) k.sv.pump();
  return AbbruchFlag.load() != 0;
}

void BenutzerAbbruch(Kontext& k, bool& ok) {
  ok = false;
  if (!k.st.AbbruchGemeldet) k.meldung(MsgKind::Information, "Programmabbruch durch den Benutzer!");
  k.st.AbbruchGemeldet = true;
}

bool gleicherOrdner(const std::string& a, const std::string& b) {
  return fs::sameFile(a, b) || mitSchraegstrich(a) == mitSchraegstrich(b);
}

void BitBErgebnisAnsehenClick(Kontext& k) {
  // As a file URL, which the user's browser ($BROWSER, the desktop's
  // program for HTML) takes; a browser that does not start says so.
  HTMLSeiteImBrowserOeffnen(k, HTMLOrdner(k) + UebersichtsseiteDateiname(k, "0", 1));
}

bool BitBStartClick(Lauf& lauf) {
  Kontext& k = lauf.k;
  OptionModel& m = k.m;
  AppState& st = k.st;

  st.AbbruchGemeldet = false;
  lauf.EinzelbildOrdnerGemeldet.clear();
  bool ok = true;
  const std::string htmlOrdner = HTMLOrdner(k);
  const std::string startseite = htmlOrdner + UebersichtsseiteDateiname(k, "0", 1);

  if (fs::fileExists(startseite) && !st.Autostart) {
    const MsgResult r = k.meldung(MsgKind::Confirmation,
                                  "Achtung! Die Datei " + startseite + kZeilenumbruch + "existiert bereits!" +
                                      kZeilenumbruch + "Soll sie (und alle weiteren) überschrieben werden?",
                                  MsgButtons::YesNo);
    if (r != MsgResult::Yes) {
      ok = false;
      k.fehler(std::string("Datei soll nicht ersetzt werden.") + kZeilenumbruch + "Programmabbruch!");
    }
  }

  AbbruchFlag = 0;
  // Everything the run writes lands in the folders checked here.
  fs::CheckedFolders geprueft;
  // A swapped folder ends the run as a cancel does; the message that names
  // it stands in for the cancel's.
  geprueft.onBreach([&st] {
    AbbruchFlag = 1;
    st.AbbruchGemeldet = true;
  });
  const auto verletzt = [&] {
    if (geprueft.breach().empty()) return false;
    k.fehler(geprueft.breach() + kZeilenumbruch + "Programmabbruch!");
    return true;
  };
  const std::string quelle = OrdnerNormalisieren(st.BilderOrdnerPfad);
  lauf.Ordnerzeiten.clear();
  // The picture folder's time before the run creates or writes anything in
  // it: folders are sorted by their times, also when the picture folder is
  // a subfolder of a gallery.
  OrdnerzeitMerken(lauf, quelle);

  // An unattended run never falls back on the working folder: a typing
  // error in a settings file must not make a gallery of the wrong tree.
  if (ok && st.Autostart && !st.FehlenderBilderOrdner.empty()) {
    ok = false;
    k.fehler("Der Bilderordner " + st.FehlenderBilderOrdner + " existiert nicht." + kZeilenumbruch +
             "Programmabbruch!");
  }
  WegePruefen(k, quelle, htmlOrdner, ok);

  const bool verkleinern = m.checked(Opt::CBOriginaleVerkleinern);
  const bool vorschau = m.checked(Opt::CBVorschaubilderErzeugen);
  {
    std::vector<std::string> ausgabe = {htmlOrdner};
    if (verkleinern) ausgabe.push_back(GrosseBilderOrdner(k));
    if (vorschau) ausgabe.push_back(VorschauOrdner(k));
    OrdnerFesthalten(k, geprueft, quelle, ausgabe, ok);
  }
  // The records of the folders for derived pictures, each read once; the
  // folders that keep one are locked for the run until it returns.
  Ableitungsbuecher buecher;
  // Before anything is written: no derived picture over an original.
  Ablage ablage{echterOrdner(quelle),
                {LetzterOrdnername(htmlOrdner)},
                {echterOrdner(standardOrdnerGrosseBilder(k)), echterOrdner(standardOrdnerVorschaubilder(k))},
                buecher,
                {},
                {}};
  if (verkleinern) ablage.uebersprungen.insert(LetzterOrdnername(GrosseBilderOrdner(k)));
  if (vorschau) ablage.uebersprungen.insert(LetzterOrdnername(VorschauOrdner(k)));
  const Gespiegelt bilderbaum{quelle, "der Bilderordner", "den Bilderordner"};
  if (verkleinern)
    AbleitungsordnerPruefen(k, "die großen Bilder", GrosseBilderOrdner(k), standardOrdnerGrosseBilder(k), {bilderbaum},
                            ablage, ok);
  if (vorschau) {
    std::vector<Gespiegelt> gespiegelt = {bilderbaum};
    if (verkleinern)
      gespiegelt.insert(gespiegelt.begin(), {GrosseBilderOrdner(k), "der Ordner für die großen Bilder",
                                             "den Ordner für die großen Bilder"});
    AbleitungsordnerPruefen(k, "die Vorschaubilder", VorschauOrdner(k), standardOrdnerVorschaubilder(k), gespiegelt,
                            ablage, ok);
  }
  const bool grossVerzeichnen =
      verkleinern && !standardordner(GrosseBilderOrdner(k), standardOrdnerGrosseBilder(k));
  const bool vorschauVerzeichnen = vorschau && !standardordner(VorschauOrdner(k), standardOrdnerVorschaubilder(k));

  // A name beginning with a dot is a hidden file here, which walk 2 skips:
  // large images named so would leave the gallery empty without a word.
  const std::string& grossZusatz = m.text(Opt::EdErweiterungGrosseBilder);
  if (ok && verkleinern && m.checked(Opt::RBVorneGrosseBilder) && !grossZusatz.empty() && grossZusatz[0] == '.') {
    ok = false;
    k.fehler("Der Namenszusatz " + grossZusatz +
             " der großen Bilder beginnt mit einem Punkt: so benannte Bilder wären versteckt und fehlten in der "
             "Galerie." +
             kZeilenumbruch + "Programmabbruch!");
  }

  if (ok) OrdnerPruefen(k, geprueft, htmlOrdner, ok);

  if (ok) {
    if (anUndGewaehlt(m, Opt::RBNavUebGrafiklinks) && anUndGewaehlt(m, Opt::RBUebGrafikStandard))
      ok = lauf.view.StandardbilderUebErzeugen();
    if (ok && anUndGewaehlt(m, Opt::RBNavGrGrafiklinks) && anUndGewaehlt(m, Opt::RBGrossGrafikStandard))
      ok = lauf.view.StandardbilderGrossErzeugen();
  }

  std::string grossOrdner;
  std::string vorschauOrdner;
  if (ok && verkleinern) {
    grossOrdner = GrosseBilderOrdner(k);
    OrdnerPruefen(k, geprueft, grossOrdner, ok);
  }
  if (ok && vorschau) {
    vorschauOrdner = VorschauOrdner(k);
    OrdnerPruefen(k, geprueft, vorschauOrdner, ok);
  }
  // A folder made just now may have been made by another run meanwhile.
  for (const auto& [art, ordner] : ablage.nochNichtDa) EigenenOrdnerPruefen(k, art, ordner, ablage, ok);
  if (!ok) {
    OrdnerzeitenZuruecksetzen(lauf);
    verletzt();
    return false;
  }
  for (const auto& [buch, dateien] : ablage.aufzuraeumen) buch->neuSchreiben(dateien);
  // Cleared again before buecher ends, at every return below.
  const struct Verzeichnen {
    Lauf& l;
    ~Verzeichnen() { l.GrossbilderVerzeichnen = l.VorschaubilderVerzeichnen = nullptr; }
  } verzeichnen{lauf};
  lauf.GrossbilderVerzeichnen = grossVerzeichnen ? &buecher : nullptr;
  lauf.VorschaubilderVerzeichnen = vorschauVerzeichnen ? &buecher : nullptr;

  const bool mitUnterordnern = m.checked(Opt::CBmitUnterverzeichnissen);
  std::string ausnahme;
  lauf.view.laufBeginnt();
  try {
    lauf.HTMLOrdnername = LetzterOrdnername(htmlOrdner);
    lauf.GrosseBilderOrdnername = verkleinern ? LetzterOrdnername(grossOrdner) : std::string();
    lauf.VorschauOrdnername = vorschau ? LetzterOrdnername(vorschauOrdner) : std::string();

    if (verkleinern) {
      OriginaleVerkleinernDurchlauf(lauf, quelle, grossOrdner, mitUnterordnern, "", -1, ok);
      lauf.OrdnerlisteGross.assign(lauf.Ordnerliste.begin(),
                                   lauf.Ordnerliste.begin() + (lauf.OrdnerlisteHigh + 1));
      lauf.Ordnerliste.clear();
      lauf.OrdnerlisteHigh = -1;
    } else {
      grossOrdner = quelle;
    }
    if (ok && !m.checked(Opt::CBAndereCSSDatei)) CSSDateiSchreiben(k, htmlOrdner, ok);
    if (ok && AbbruchFlag == 0) GalerieDurchlauf(lauf, grossOrdner, vorschauOrdner, mitUnterordnern, "", -1, ok);
    if (verkleinern) lauf.OrdnerlisteGross.clear();
    const bool index = m.checked(Opt::CBIndexInGrafikordnern);
    if (ok && index && !gleicherOrdner(grossOrdner, htmlOrdner) && !m.checked(Opt::CBBilderPfadErsetzen))
      IndexInGrafikordnernSchreiben(lauf, grossOrdner, mitUnterordnern);
    if (ok && index && !vorschauOrdner.empty() && !gleicherOrdner(vorschauOrdner, htmlOrdner) &&
        !m.checked(Opt::CBVorschaulinksErsetzen))
      IndexInGrafikordnernSchreiben(lauf, vorschauOrdner, mitUnterordnern);
  } catch (const std::exception& e) {
    ausnahme = e.what();
    if (ausnahme.empty()) ausnahme = "Unbekannter Fehler";
    ok = false;
  } catch (...) {
    ausnahme = "Unbekannter Fehler";
    ok = false;
  }

  OrdnerzeitenZuruecksetzen(lauf);
  if (verletzt())
    ok = false;
  else if (AbbruchFlag != 0)
    BenutzerAbbruch(k, ok);
  lauf.Ordnerliste.clear();
  lauf.OrdnerlisteHigh = -1;
  lauf.Bildliste.clear();
  fs::setCurrentFolder(st.BilderOrdnerPfad);
  m.setEnabled(Opt::BitBErgebnisAnsehen,
               !m.checked(Opt::CBBilderPfadErsetzen) && !m.checked(Opt::CBVorschaulinksErsetzen) && ok);
  lauf.view.laufEndet();

  if (!ausnahme.empty()) {
    // A fault inside the run must never look like success.
    k.fehler("Fehler bei der Erstellung der Galerie:" + std::string(kZeilenumbruch) + ausnahme +
             kZeilenumbruch + "Programmabbruch!");
    return false;
  }

  m.setChecked(Opt::CBCopyright, true);

  if (ok && !st.Autostart) {
    if (!m.enabled(Opt::BitBErgebnisAnsehen)) {
      k.meldung(MsgKind::Information,
                "Fertig!\r\n\r\nDas Ergebnis kann nicht sofort angezeigt werden, weil Sie\r\nangegeben haben, "
                "dass Sie Dateien verschieben wollen.\r\nDie Pfade wurden Ihren Angaben entsprechend angepasst.");
    } else if (k.sv.dialogs->message(MsgKind::Information, "Fertig! Möchten Sie das Ergebnis gleich ansehen?",
                                     MsgButtons::YesNo, "Mosaikschauer: Information") == MsgResult::Yes) {
      BitBErgebnisAnsehenClick(k);
    }
  }
  return ok;
}

}  // namespace mosaik
