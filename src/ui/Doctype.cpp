#include "ui/Doctype.h"

#include "platform/Win1252.h"
#include "ui/HauptForm.h"

namespace mosaik {

std::string tagErsetzen(const std::string& text, std::string_view tag, std::string_view ersatz) {
  if (tag.empty()) return text;
  const std::string klein = asciiLower(text);
  const std::string tagKlein = asciiLower(tag);
  std::string out;
  size_t von = 0;
  for (size_t p = klein.find(tagKlein); p != std::string::npos; p = klein.find(tagKlein, von)) {
    out.append(text, von, p - von);
    out.append(ersatz);
    von = p + tag.size();
  }
  out.append(text, von, std::string::npos);
  return out;
}

namespace {

// Texts that go into the pages: the multi-line ones may hold rules too.
constexpr Opt kMehrzeilig[] = {Opt::MZTextUebOben, Opt::MZTextUebUnten, Opt::MZTextGrossOben,
                               Opt::MZTextGrossUnten, Opt::MNeuerHeader, Opt::MNeuerDateiabschluss};
constexpr Opt kEinzeilig[] = {Opt::EdStartordnerName, Opt::EdDieserOrdner, Opt::EdUnterordnerSing,
                              Opt::EdUnterordnerPl,   Opt::EdBildSing,     Opt::EdBilderPl,
                              Opt::EdBilderCopyright, Opt::EdNachOben,     Opt::EdTextdatei,
                              Opt::EdAudiodatei,      Opt::EdVideodatei,   Opt::EdKeineBilddateien,
                              Opt::EdErstelltMit};

}  // namespace

void THauptForm::CoBDoctypeChange() {
  OptionModel& m = k_.m;
  AppState& st = k_.st;
  const int index = m.index(Opt::CoBDoctype);

  // A strict page opens nothing in another window.
  st.DoctypeStrict = index == 0 || index == 2;
  m.setVisible(Opt::LDoctypeAchtung, st.DoctypeStrict);
  if (st.DoctypeStrict) {
    m.setEnabled(Opt::LFensternavigation, false);
  } else {
    m.setEnabled(Opt::LFensternavigation,
                 m.checked(Opt::RBLinkAufBilddatei) || m.checked(Opt::RBProBildEineHTMLDatei));
  }
  m.setEnabled(Opt::CoBFensterNavigation, m.enabled(Opt::LFensternavigation));

  // The XML declaration keeps its tick while greyed.
  st.DoctypeXHTML = index == 2 || index == 3;
  m.setEnabled(Opt::CBmitXMLDeklaration, st.DoctypeXHTML);

  CoBFensterNavigationChange();

  const std::string_view br = st.DoctypeXHTML ? "<br>" : "<br />";
  const std::string_view brNeu = st.DoctypeXHTML ? "<br />" : "<br>";
  const std::string_view hr = st.DoctypeXHTML ? "<hr>" : "<hr />";
  const std::string_view hrNeu = st.DoctypeXHTML ? "<hr />" : "<hr>";
  for (Opt o : kMehrzeilig) m.setText(o, tagErsetzen(tagErsetzen(m.text(o), br, brNeu), hr, hrNeu));
  for (Opt o : kEinzeilig) m.setText(o, tagErsetzen(m.text(o), br, brNeu));
}

}  // namespace mosaik
