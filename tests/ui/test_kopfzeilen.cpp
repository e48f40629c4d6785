#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <tuple>

#include "../ui/RegelnTestbasis.h"
#include "generator/Seitenrahmen.h"
#include "generator/StyleSheet.h"
#include "platform/Win1252.h"
#include "test_kommentar_basis.h"
#include "ui/Kopfzeilen.h"

namespace mosaik::test {
namespace {

using Kopfzeilen = Hauptform;

// The header template's content is tested with the page frame.
TEST_F(Kopfzeilen, UebernehmenFuelltDieMemosAusDenEinstellungen) {
  m.run(Opt::BHeaderEinstellungenUebernehmen, Ev::Click);
  EXPECT_EQ(m.text(Opt::MNeuerHeader), HTMLKopfVorlage(k));
  EXPECT_EQ(m.text(Opt::MNeuerDateiabschluss), "</body>\r\n</html>");
  m.run(Opt::BCSSEinstellungenUebernehmen, Ev::Click);
  EXPECT_EQ(m.text(Opt::MangepassteCSSDatei), StyleSheetErzeugen(k));
  EXPECT_FALSE(m.text(Opt::MangepassteCSSDatei).empty());
}

TEST_F(Kopfzeilen, SpeichernFragtBeideDateienAbAuchNachAbbruch) {
  TempOrdner ziel;
  st.EinstellungsDialogOrdner = "/start/";
  st.LetzteKopfdatei = "kopf-alt.txt";
  st.LetzteFussdatei = "fuss-alt.txt";
  m.setText(Opt::MNeuerHeader, "<html>\r\n<body [BODYID]>");
  m.setText(Opt::MNeuerDateiabschluss, "Gr\xC3\xBC\xC3\x9F" "e\r\n</html>");
  u.dialoge.dateiAntworten = {std::nullopt, ziel.pfad() + "ende"};
  m.run(Opt::BHeaderUndFooterSpeichern, Ev::Click);

  ASSERT_EQ(u.dialoge.dateiDialoge.size(), 2u);
  for (const auto& [i, name] : {std::pair{0, "kopf-alt.txt"}, {1, "fuss-alt.txt"}}) {
    const auto& d = u.dialoge.dateiDialoge[static_cast<size_t>(i)];
    EXPECT_EQ(std::tuple(d.speichern, d.optionen.folder, d.optionen.fileName), std::tuple(true, "/start/", name));
  }

  // One line per memo line, each ended by CR LF, in Windows-1252.
  EXPECT_EQ(lesen(ziel.pfad() + "ende.txt"), "Gr\xFC\xDF" "e\r\n</html>\r\n");
  EXPECT_EQ(st.EinstellungsDialogOrdner, ziel.pfad());
  EXPECT_EQ(st.LetzteFussdatei, "ende.txt");
  EXPECT_EQ(st.LetzteKopfdatei, "kopf-alt.txt");
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(Kopfzeilen, UeberschreibenNurNachJa) {
  TempOrdner ziel;
  const std::string datei = ziel.pfad() + "kopf.htm";
  schreiben(datei, "alt");
  m.setText(Opt::MNeuerHeader, "neu");
  u.dialoge.antworten = {MsgResult::No};
  u.dialoge.dateiAntworten = {datei, std::nullopt};
  m.run(Opt::BHeaderUndFooterSpeichern, Ev::Click);
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Warning);
  EXPECT_EQ(u.dialoge.meldungen[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(u.dialoge.meldungen[0].text, "Soll die bestehende Datei \xC3\xBC" "berschrieben werden?");
  EXPECT_EQ(lesen(datei), "alt");
  // Declined, yet the next dialog opens where the file lies.
  EXPECT_EQ(u.dialoge.dateiDialoge[1].optionen.folder, ziel.pfad());
  EXPECT_EQ(st.LetzteKopfdatei, "kopf.htm");

  u.dialoge.antworten = {MsgResult::Yes};
  u.dialoge.dateiAntworten = {datei, std::nullopt};
  m.run(Opt::BHeaderUndFooterSpeichern, Ev::Click);
  EXPECT_EQ(lesen(datei), "neu\r\n");
  EXPECT_EQ(u.dialoge.dateiDialoge[2].optionen.fileName, "kopf.htm");
}

// The style sheet: a target that cannot be written is reported; characters
// outside Windows-1252 make the file UTF-8, and it loads back unchanged.
TEST_F(Kopfzeilen, StyleSheetSpeichernUndLaden) {
  TempOrdner ziel;
  const std::string datei = ziel.pfad() + "fehlt/kopf.txt";
  m.setText(Opt::MangepassteCSSDatei, "/* \xE2\x82\xAC \xE2\x98\xBA */");
  u.dialoge.dateiAntworten = {datei};
  m.run(Opt::BgeaenderteCSSSpeichern, Ev::Click);
  ASSERT_EQ(u.dialoge.dateiDialoge.size(), 1u);
  meldung(1, MsgKind::Error,
          "Die Datei " + datei + "\r\nkann nicht gespeichert werden!\r\nDie Datei " + datei +
              " kann nicht geschrieben werden (ihr Ordner ist nicht vorhanden).");
  EXPECT_FALSE(fs::fileExists(datei));
  EXPECT_EQ(st.EinstellungsDialogOrdner, ziel.pfad() + "fehlt/");
  EXPECT_EQ(st.LetzteCSSDatei, "kopf.txt");

  u.dialoge.dateiAntworten = {ziel.pfad() + "a.css"};
  m.run(Opt::BgeaenderteCSSSpeichern, Ev::Click);
  EXPECT_EQ(lesen(ziel.pfad() + "a.css"), "\xEF\xBB\xBF/* \xE2\x82\xAC \xE2\x98\xBA */\r\n");
  m.setText(Opt::MangepassteCSSDatei, "");
  u.dialoge.dateiAntworten = {ziel.pfad() + "a.css"};
  m.run(Opt::BgeaenderteCSSLaden, Ev::Click);
  EXPECT_EQ(u.dialoge.dateiDialoge[2].optionen.fileName, "a.css");
  EXPECT_EQ(m.text(Opt::MangepassteCSSDatei), "/* \xE2\x82\xAC \xE2\x98\xBA */");
}

TEST_F(Kopfzeilen, LadenNimmtDieZeilenUndMerktSichJedeDateiFuerSich) {
  TempOrdner quelle;
  schreiben(quelle.pfad() + "k.txt", "<head>\n<title>Gr\xFC\xDF" "e</title>\r\n");  // Windows-1252, mixed ends
  schreiben(quelle.pfad() + "f.txt", "</body>\r\n</html>");
  st.LetzteKopfdatei = "kopf-alt.txt";
  st.LetzteFussdatei = "fuss-alt.txt";
  u.dialoge.dateiAntworten = {quelle.pfad() + "k.txt", quelle.pfad() + "f.txt"};
  m.run(Opt::BHeaderUndFooterLaden, Ev::Click);
  ASSERT_EQ(u.dialoge.dateiDialoge.size(), 2u);
  EXPECT_FALSE(u.dialoge.dateiDialoge[0].speichern);
  EXPECT_EQ(u.dialoge.dateiDialoge[0].optionen.title, "Header aus Textdatei laden");
  EXPECT_EQ(u.dialoge.dateiDialoge[0].optionen.fileName, "kopf-alt.txt");
  EXPECT_EQ(u.dialoge.dateiDialoge[1].optionen.title, "Footer aus Textdatei laden");
  EXPECT_EQ(u.dialoge.dateiDialoge[1].optionen.fileName, "fuss-alt.txt");
  EXPECT_EQ(u.dialoge.dateiDialoge[1].optionen.folder, quelle.pfad());
  EXPECT_EQ(m.text(Opt::MNeuerHeader), "<head>\r\n<title>Gr\xC3\xBC\xC3\x9F" "e</title>");
  EXPECT_EQ(m.text(Opt::MNeuerDateiabschluss), "</body>\r\n</html>");
  EXPECT_EQ(st.LetzteKopfdatei, "k.txt");
  EXPECT_EQ(st.LetzteFussdatei, "f.txt");

  // The next load proposes each memo's own last name.
  u.dialoge.dateiAntworten.clear();
  m.run(Opt::BHeaderUndFooterLaden, Ev::Click);
  EXPECT_EQ(u.dialoge.dateiDialoge[2].optionen.fileName, "k.txt");
  EXPECT_EQ(u.dialoge.dateiDialoge[3].optionen.fileName, "f.txt");

  // UTF-16 as Windows editors save "Unicode" text, either byte order.
  schreiben(quelle.pfad() + "k16.txt", std::string("\xFF\xFE<\0p\0>\0\xFC\0\r\0\n\0", 14));
  schreiben(quelle.pfad() + "f16.txt", std::string("\xFE\xFF\0<\0/\0p\0>\0\n", 12));
  u.dialoge.dateiAntworten = {quelle.pfad() + "k16.txt", quelle.pfad() + "f16.txt"};
  m.run(Opt::BHeaderUndFooterLaden, Ev::Click);
  EXPECT_EQ(m.text(Opt::MNeuerHeader), "<p>\xC3\xBC");
  EXPECT_EQ(m.text(Opt::MNeuerDateiabschluss), "</p>");
}

TEST_F(Kopfzeilen, FehlendeDateiWirdGemeldetUndDasMemoBleibt) {
  TempOrdner quelle;
  st.EinstellungsDialogOrdner = "/start/";
  m.setText(Opt::MNeuerHeader, "bleibt");
  u.dialoge.dateiAntworten = {quelle.pfad() + "weg.txt", std::nullopt};
  m.run(Opt::BHeaderUndFooterLaden, Ev::Click);
  meldung(1, MsgKind::Error, "Die Datei " + quelle.pfad() + "weg.txt\r\nexistiert nicht!");
  EXPECT_EQ(m.text(Opt::MNeuerHeader), "bleibt");
  EXPECT_EQ(st.EinstellungsDialogOrdner, "/start/");
  EXPECT_EQ(u.dialoge.dateiDialoge.size(), 2u);

  // One of gigabytes is not taken in: said with the reason.
  const std::string riesig = quelle.pfad() + "riesig.txt";
  ASSERT_EQ(::truncate(quelle.ablegen("riesig.txt", "").c_str(), int64_t{3} << 30), 0);
  u.dialoge.dateiAntworten = {riesig, std::nullopt};
  m.run(Opt::BHeaderUndFooterLaden, Ev::Click);
  meldung(2, MsgKind::Error,
          "Die Datei " + riesig +
              "\r\nkann nicht gelesen werden!\r\nSie ist mit 3221225472 Bytes zu groß für eine Textdatei (höchstens 64 MiB).");
  EXPECT_EQ(m.text(Opt::MNeuerHeader), "bleibt");

  // UTF-16 with a line appended by `echo`: not taken in as CJK characters.
  const std::string angehaengt =
      quelle.ablegen("u16.txt", std::string("\xFF\xFE<\0p\0>\0\r\0\n\0", 12) + "<p>x</p>\n");
  u.dialoge.dateiAntworten = {angehaengt, std::nullopt};
  m.run(Opt::BHeaderUndFooterLaden, Ev::Click);
  meldung(3, MsgKind::Error,
          "Die Datei " + angehaengt +
              "\r\nkann nicht gelesen werden!\r\nSie ist als UTF-16 gespeichert, enthält aber auch Bytes, die kein UTF-16 "
              "sind (etwa eine angehängte Zeile in einer anderen Kodierung).");
  EXPECT_EQ(m.text(Opt::MNeuerHeader), "bleibt");
}

// Forward the focus goes on to the memo's button; entered backwards it goes
// on backwards past the memo, so that Shift+Tab gets beyond it.
TEST_F(Kopfzeilen, VorlagenMemosGebenDenFokusAnIhrenKnopf) {
  bool rueckwaerts = false;
  std::vector<Opt> zurueck;
  haupt.rueckwaertsBetreten = [&] { return rueckwaerts; };
  haupt.fokusZurueck = [&](Opt o) { zurueck.push_back(o); };
  m.run(Opt::MBeschreibung, Ev::Enter);
  m.run(Opt::MBeschreibungGross, Ev::Enter);
  EXPECT_EQ(fokusVerlauf, (std::vector<Opt>{Opt::BExifDaten, Opt::BGrossExifDaten}));
  rueckwaerts = true;
  m.run(Opt::MBeschreibung, Ev::Enter);
  m.run(Opt::MBeschreibungGross, Ev::Enter);
  EXPECT_EQ(fokusVerlauf.size(), 2u);
  EXPECT_EQ(zurueck, (std::vector<Opt>{Opt::MBeschreibung, Opt::MBeschreibungGross}));
}

}  // namespace
}  // namespace mosaik::test
