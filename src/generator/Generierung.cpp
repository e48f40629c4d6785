#include "generator/Generierung.h"

#include <exception>
#include <filesystem>

#include "generator/Durchlauf.h"
#include "generator/Namen.h"
#include "generator/StyleSheet.h"
#include "generator/Weiterleitung.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

const char* const kZeilenumbruch = "\r\n";

// Creates the folder when missing and tests that a file can be written
// there; reports the first failure and clears ok.
void OrdnerPruefen(Kontext& k, const std::string& ordner, bool& ok) {
  if (!fs::folderExists(ordner)) {
    try {
      fs::forceDirectories(ordner);
    } catch (...) {
      // The existence test below decides.
    }
    if (!fs::folderExists(ordner)) {
      ok = false;
      k.fehler("Kann das Verzeichnis " + ordner + " nicht erstellen!" + kZeilenumbruch + "Programmabbruch!");
      return;
    }
  }
  if (!OrdnerBeschreibbar(ordner)) {
    ok = false;
    k.fehler("Kann nicht im Verzeichnis " + ordner + " speichern." + kZeilenumbruch + "Programmabbruch!");
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
  std::error_code ec;
  const bool same = std::filesystem::equivalent(a, b, ec);
  if (!ec) return same;
  return mitSchraegstrich(a) == mitSchraegstrich(b);
}

void BitBErgebnisAnsehenClick(Kontext& k) {
  const std::string start = HTMLOrdner(k) + UebersichtsseiteDateiname(k, "0", 1);
  if (k.sv.shell) k.sv.shell->open(start);
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
  const std::string quelle = OrdnerNormalisieren(st.BilderOrdnerPfad);

  if (ok) OrdnerPruefen(k, htmlOrdner, ok);

  if (ok) {
    if (anUndGewaehlt(m, Opt::RBNavUebGrafiklinks) && anUndGewaehlt(m, Opt::RBUebGrafikStandard))
      ok = lauf.view.StandardbilderUebErzeugen();
    if (ok && anUndGewaehlt(m, Opt::RBNavGrGrafiklinks) && anUndGewaehlt(m, Opt::RBGrossGrafikStandard))
      ok = lauf.view.StandardbilderGrossErzeugen();
  }

  const bool verkleinern = m.checked(Opt::CBOriginaleVerkleinern);
  const bool vorschau = m.checked(Opt::CBVorschaubilderErzeugen);
  std::string grossOrdner;
  std::string vorschauOrdner;
  if (ok && verkleinern) {
    grossOrdner = GrosseBilderOrdner(k);
    OrdnerPruefen(k, grossOrdner, ok);
  }
  if (ok && vorschau) {
    vorschauOrdner = VorschauOrdner(k);
    OrdnerPruefen(k, vorschauOrdner, ok);
  }
  if (!ok) return false;

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
      IndexInGrafikordnernSchreiben(lauf, grossOrdner);
    if (ok && index && !vorschauOrdner.empty() && !gleicherOrdner(vorschauOrdner, htmlOrdner) &&
        !m.checked(Opt::CBVorschaulinksErsetzen))
      IndexInGrafikordnernSchreiben(lauf, vorschauOrdner);
  } catch (const std::exception& e) {
    ausnahme = e.what();
    if (ausnahme.empty()) ausnahme = "Unbekannter Fehler";
    ok = false;
  } catch (...) {
    ausnahme = "Unbekannter Fehler";
    ok = false;
  }

  if (AbbruchFlag != 0) BenutzerAbbruch(k, ok);
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
