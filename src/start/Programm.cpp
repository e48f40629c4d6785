#include "start/Programm.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "app/Einstellungen.h"
#include "app/Grundeinstellungen.h"
#include "app/options/Hersteller.h"
#include "generator/Generierung.h"
#include "generator/Verzeichnis.h"
#include "imaging/NumberFormat.h"
#include "platform/FileSystem.h"
#include "platform/Win1252.h"

namespace mosaik {
namespace {

// The file name of an "ini=" argument: behind any one character (a whole
// UTF-8 sequence) and "ini=" in any case, as typed.
std::optional<std::string> iniDateiname(const std::string& p) {
  if (p.empty()) return std::nullopt;
  size_t pos = 0;
  nextCodePoint(p, pos);
  if (asciiLower(p.substr(pos, 4)) != "ini=") return std::nullopt;
  return p.substr(pos + 4);
}

bool istAutostart(const std::string& p) {
  const std::string l = asciiLower(p);
  return l == "-autostart" || l == "/autostart";
}

// Whether folder a is folder b or lies below it, links resolved.
bool liegtIn(const std::string& a, const std::string& b) {
  const std::string na = fs::withTrailingSlash(fs::realName(a)), nb = fs::withTrailingSlash(fs::realName(b));
  return na.starts_with(nb);
}

}  // namespace

bool Programm::autostartVerlangt(const std::vector<std::string>& argumente) {
  return std::any_of(argumente.begin(), argumente.end(), istAutostart);
}

Programm::Programm(Services& services, std::vector<std::string> argumente)
    : sv(services),
      k{m, st, sv},
      NavigationForm(k),
      HauptForm(k, NavigationForm),
      EXIFForm(k),
      farbForm(k),
      KommentarForm(k),
      runView(HauptForm, wartenForm, NavigationForm),
      lauf(k, runView),
      argumente_(std::move(argumente)) {
  if (sv.startFolder.empty()) sv.startFolder = fs::currentFolder();
  startOrdner_ = fs::withTrailingSlash(sv.startFolder);
  if (const char* a = std::getenv("MOSAIKSCHAUER_ARBEITSKOPIE")) arbeitskopie = a;
  if (const char* d = std::getenv("MOSAIKSCHAUER_DEMOKOPIE")) demokopie = d;
  m.setEvents(&HauptForm);
  m.setDecimalSeparator(sv.locale.decimalSeparator);
  imaging::SetDecimalSeparator(sv.locale.decimalSeparator);  // metadata texts and captions alike
  HauptForm.vorrang = [this](Opt o, Ev e) { return EinstellungsEreignis(k, o, e); };
  einstellungsdateiLesen = [this](const Einstellungsort& d) { IniFileLesen(k, d); };
  // The busy bar asks on every tick whether visual styles are in force.
  wartenForm.ThemesEnabled = [] { return ThemeServices().ThemesEnabled(); };
  zusatzdateienLesen = [this](const Einstellungsort& d) { ZusatzdateienLaden(k, d); };
  HauptForm.farbForm = &farbForm;
  EXIFForm.kommentareOeffnen = [this] { KommentarForm.Zeigen(); };
}

void Programm::start() {
  FormCreate();
  erstellteFenster.push_back("HauptForm");
  erstellteFenster.push_back("EXIFForm");
  wartenForm.FormCreate();
  erstellteFenster.push_back("wartenForm");
  erstellteFenster.push_back("NavigationForm");
  erstellteFenster.push_back("farbForm");
  erstellteFenster.push_back("KommentarForm");
}

void Programm::FormCreate() {
  st.CSSKlickAktiv = st.IniOrtKlickAktiv = st.AutoSpeichernKlickAktiv = true;
  const std::string programmOrdner =
      sv.programFolder.empty() ? fs::programFolder() : fs::withTrailingSlash(sv.programFolder);
  st.LetzteGrafikdatei.clear();
  st.EinstellungsDialogOrdner = programmOrdner;
  st.EinstellungsDateiname.clear();
  st.LetzteKopfdatei.clear();
  st.LetzteFussdatei.clear();
  st.LetzteCSSDatei.clear();
  st.LetzteCSSLadedatei.clear();
  st.LetzteLinkZurueckDatei.clear();
  st.LetzteLinkZurueckGrafik.clear();
  st.LetzteFavicondatei.clear();
  st.DoctypeStrict = st.DoctypeXHTML = st.TastenfilterAussetzen = false;
  // The view shortens the path to the label's width.
  m.setText(Opt::LAnwendungsordner, anwendungsdatenOrdner(k));
  st.BilderOrdnerPfad.clear();
  m.setText(Opt::LProgginame, std::string(kProduktname) + " V" + kVersionLang);
  st.HTMLOrdnerPfad.clear();
  st.ErstaktivierungErledigt = false;
  m.setText(Opt::LProgrammname, std::string(kProduktname) + " Version " + kVersionLang);
  // A missing or unreadable read-me leaves the memo empty, without a message.
  if (auto liesmich = readUserTextFile(programmOrdner + "liesmich.txt")) m.setText(Opt::MLiesmich, *liesmich);
  const std::vector<std::string> fonts = sv.fontFamilies ? sv.fontFamilies() : std::vector<std::string>{};
  for (Opt o : {Opt::CoBUeberschrift, Opt::CoBResttext}) {
    m.setItems(o, fonts);
    m.setIndex(o, fonts.empty() ? -1 : 0);
  }
  st.Font1Standard = m.text(Opt::CoBUeberschrift);
  st.Font2Standard = m.text(Opt::CoBResttext);
  lauf.OrdnerlisteHigh = -1;
  m.setText(Opt::LHauptIniFilename, std::string("(") + kEinstellungsdatei + ")");
  VerknuepfungenPruefen();
  HauptForm.Visible = true;
}

void Programm::VerknuepfungenPruefen() { mosaik::VerknuepfungenPruefen(m, HauptForm.verknuepfungen); }

void Programm::einstellungenLesen(const Einstellungsort& datei, bool modus) {
  // The side files belong to settings that were read.
  const size_t ungelesen = st.UngeleseneDateien.size();
  einstellungsdateiLesen(datei);
  if (st.UngeleseneDateien.size() != ungelesen) return;
  if (modus) m.run(Proc::RBModusAnfaengerClick);
  zusatzdateienLesen(datei);
}

void Programm::FormActivate() {
  // An activation reported while the first one is still at work (the run
  // inside it lets window events through) must neither begin the work again
  // nor recurse into the event pump.
  if (inErstaktivierung_) return;
  inErstaktivierung_ = true;
  if (sv.pump) sv.pump();
  if (!st.ErstaktivierungErledigt) {
    st.ErstaktivierungErledigt = true;
    st.Autostart = autostartVerlangt(argumente_);
    st.dirnametxt = true;
    mosaik::BGrundEinstellungenClick(k, false);
    einstellungenLesen(standardEinstellungsort(k), false);
    if (m.checked(Opt::CBIniDateiImAnwendungsordner)) {
      if (persoenlicheEinstellungsdatei(k).empty()) {
        keinPersoenlicherOrdner(k);
      } else {
        einstellungenLesen(persoenlicherEinstellungsort(k, false), false);
        st.EinstellungsDialogOrdner = persoenlicherEinstellungsordner(k);
      }
    }
    m.run(Proc::RBModusAnfaengerClick);
    kommandozeilenparameterausfuehren();
  }
  inErstaktivierung_ = false;
}

void Programm::kommandozeilenparameterausfuehren() {
  const std::string programmOrdner =
      sv.programFolder.empty() ? fs::programFolder() : fs::withTrailingSlash(sv.programFolder);
  st.Autostart = autostartVerlangt(argumente_);
  st.cellspacingIE = false;
  // Settings files asked for and not found: named ones in neither place (as
  // typed from the working folder), and an "ini=" without a name (a
  // script's empty variable).
  std::vector<std::string> fehlend;
  for (const std::string& p : argumente_) {
    const std::string l = asciiLower(p);
    if (l == "-cellspacingie" || l == "/cellspacingie") st.cellspacingIE = true;
    const auto f = iniDateiname(p);
    if (f && f->empty()) fehlend.push_back("Das Argument " + p + " nennt keine Einstellungsdatei.");
    if (f && !f->empty()) {
      // As typed counts from the working folder the program was started in:
      // reading a picture folder has changed it since, and changes it again
      // while such a file is read, before its side files are looked up.
      const std::string wieGetippt = f->front() == '/' ? *f : startOrdner_ + *f;
      // Each place is chosen once: the file and its side files are read
      // from the folder found now. Something of that name that is no file
      // (a folder, a pipe, a link not to be followed) is not passed over in
      // silence: reading says why. A link leading nowhere is no file there.
      using Stand = Einstellungsort::Stand;
      const Einstellungsort getippt(wieGetippt), imProgramm(programmOrdner + *f);
      const Stand a = getippt.stand(), b = imProgramm.stand();
      if (a == Stand::Datei || (a == Stand::Anderes && b != Stand::Datei))
        einstellungenLesen(getippt, true);
      else if (b != Stand::Fehlt)
        einstellungenLesen(imProgramm, true);
      else
        fehlend.push_back("Die Einstellungsdatei " + wieGetippt +
                          (f->front() == '/' ? "" : " (auch nicht im Programmordner " + programmOrdner + ")") +
                          " ist nicht vorhanden.");
    }
  }
  st.AktiveSeite = "TabSheetOrdner";
  st.AktiveExpertenSeite = "TabSheetSpezielles";
  HauptForm.melden();
  if (st.Autostart) {
    // An unattended run must not go on with other settings than it was
    // given (a misspelt name would leave the defaults on the working
    // folder), nor save over a file it could not read. In the window the
    // user sees the settings before starting.
    for (const std::string& f : fehlend) k.fehler(f + "\r\nProgrammabbruch!");
    const bool unlesbar = !st.UngeleseneDateien.empty() || !fehlend.empty();
    if (unlesbar || arbeitskopieGeschuetzt()) {
      // Nothing has happened yet: end at once, and keep the settings as
      // they were, so that no later start inherits this picture folder.
      exitStatus_ = unlesbar ? 1 : 2;
      fensterSchliessen();
      return;
    }
    if (!BitBStartClick()) exitStatus_ = 1;
    // Saved now, the settings would name the working folder in place of
    // the one the file named.
    if (!st.FehlenderBilderOrdner.empty()) {
      fensterSchliessen();
      return;
    }
    // Nobody sees the unticked box: the run says that it saves nothing.
    if (ohneFenster && !st.EinstellungenNichtSpeicherbar.empty() &&
        !m.checked(Opt::CBEinstellungenAutomatischSpeichern)) {
      k.fehler(st.EinstellungenNichtSpeicherbar);
      exitStatus_ = 1;
    }
    BitBBeendenClick();
  }
}

bool Programm::arbeitskopieGeschuetzt() {
  if (arbeitskopie.empty()) return false;
  const std::string& ordner = st.BilderOrdnerPfad;
  std::string wie;
  if (!demokopie.empty() && liegtIn(ordner, demokopie)) return false;
  if (liegtIn(ordner, arbeitskopie))
    wie = "gehört zum Quelltext von Mosaikschauer";
  else if (liegtIn(arbeitskopie, ordner))
    wie = "enthält in seinen Unterordnern den Quelltext von Mosaikschauer";
  else
    return false;
  k.fehler("Der Bilderordner " + ordner + " " + wie + " (" + arbeitskopie + ").\r\n" +
           "Ein Lauf würde dort Dateien umbenennen und Seiten anlegen.\r\n" +
           "Bitte wählen Sie einen anderen Bilderordner; ohne Einstellung \"Ordner\" ist es der Ordner, "
           "in dem das Programm gestartet wurde.");
  return true;
}

bool Programm::BitBStartClick() {
  if (laeuft_ || arbeitskopieGeschuetzt()) return false;
  laeuft_ = true;
  const bool ok = mosaik::BitBStartClick(lauf);
  laeuft_ = false;
  return ok;
}

void Programm::BGrundEinstellungenClick() { mosaik::BGrundEinstellungenClick(k, true); }

void Programm::BitBBeendenClick() {
  // The window is locked while a gallery is made; "Abbrechen" ends a run.
  if (laeuft_) return;
  if (!FormCloseQuery(k)) {
    if (!ohneFenster) return;
    // Nobody can answer at this point: end without saving rather than wait.
    std::fprintf(stderr, "Mosaikschauer: Die Einstellungen wurden nicht gespeichert.\n");
  } else {
    FormClose(k);
  }
  fensterSchliessen();
}

void Programm::fensterSchliessen() {
  HauptForm.Visible = false;
  // The program leaves the visual styles as it found them.
  HauptForm.ThemeManager.setOptions(kThemeVoll);
  beendet_ = true;
  HauptForm.melden();
}

}  // namespace mosaik
