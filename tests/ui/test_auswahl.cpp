#include <fstream>
#include <tuple>

#include "RegelnTestbasis.h"
#include "generator/Namen.h"
#include "platform/Win1252.h"
#include "ui/Auswahl.h"

namespace mosaik::test {
namespace {

using O = Opt;

int zeichenZahl(const std::string& s) {
  int n = 0;
  size_t pos = 0;
  while (pos < s.size()) {
    nextCodePoint(s, pos);
    ++n;
  }
  return n;
}

TEST(Pfadanzeige, KuerztDieMittlerenOrdnerZuerst) {
  const std::string p = "/home/benutzer/Bilder/Urlaub 2023/html";
  for (auto [pfad, platz, gezeigt] : {std::tuple{p, 38, p}, {p, 37, "/.../benutzer/Bilder/Urlaub 2023/html"},
                                      {p, 30, "/.../Bilder/Urlaub 2023/html"}, {p, 12, "/.../html"},
                                      {p, 8, ".../html"}, {p, 5, "html"}, {p, 3, "..."}, {p, 0, "..."},
                                      {"/a/Übersichten", 6, "Übe..."}, {"/a/bbbbbbbb/c/", 8, "/.../c/"},
                                      {"abc/def/ghi", 9, ".../ghi"}, {"/äöü/x", 6, "/äöü/x"}})
    EXPECT_EQ(pfadKuerzen(pfad, platz, zeichenZahl), gezeigt) << pfad << " " << platz;
}

struct Auswahl : Hauptform {
  std::string B;  // picture folder, without the trailing '/'
  void SetUp() override {
    Hauptform::SetUp();
    B = st.BilderOrdnerPfad;
    ASSERT_EQ(B + "/", bilder.pfad());
  }
  void ordnerAntwort(const std::string& pfad) { u.dialoge.ordnerAntworten.push_back(FolderChoice{pfad}); }
  void anlegen(const std::string& p) { ASSERT_TRUE(fs::forceDirectories(p)); }
  void datei(const std::string& p) { std::ofstream(p) << "x"; }
};

TEST_F(Auswahl, Bilderordner) {
  const std::string neu = B + "/Urlaub";
  anlegen(neu);
  m.setEnabled(O::BitBErgebnisAnsehen, true);
  ordnerAntwort(neu);
  m.run(O::BitBBilderPfadWahl, Ev::Click);
  ASSERT_EQ(u.dialoge.ordnerDialoge.size(), 1u);
  EXPECT_EQ(u.dialoge.ordnerDialoge[0].folder, B);
  EXPECT_EQ(u.dialoge.ordnerDialoge[0].flags, 0x8004u);  // path shown, shared folders
  ASSERT_TRUE(u.dialoge.ordnerDialoge[0].statusText);
  EXPECT_EQ(st.BilderOrdnerPfad, neu);
  EXPECT_EQ(m.text(O::EdBilderPfad), neu);
  EXPECT_EQ(fs::currentFolder(), neu + "/");
  EXPECT_FALSE(en(O::BitBErgebnisAnsehen));
  EXPECT_EQ(m.text(O::EdHTMLPfadname), neu + "/html");
  EXPECT_EQ(m.text(O::EdgrosseBilderPfadname), neu + "/html/_gross");
  EXPECT_EQ(m.text(O::EdVorschauPfadname), neu + "/html/_vorschau");

  // Cancelled, or an item that is no folder: nothing changes. A click on
  // the display opens the same chooser.
  m.setEnabled(O::BitBErgebnisAnsehen, true);
  m.run(O::EdBilderPfad, Ev::Click);
  u.dialoge.ordnerAntworten.push_back(FolderChoice{""});
  m.run(O::BitBBilderPfadWahl, Ev::Click);
  EXPECT_EQ(u.dialoge.ordnerDialoge.size(), 3u);
  EXPECT_EQ(u.dialoge.ordnerDialoge[2].folder, neu);
  EXPECT_EQ(st.BilderOrdnerPfad, neu);
  EXPECT_TRUE(en(O::BitBErgebnisAnsehen));
}

TEST_F(Auswahl, HTMLOrdnerGleichDemStandardBleibtDerStandard) {
  // Started at the standard folder while none is chosen.
  ordnerAntwort(B + "/html");
  m.run(O::BitBHTMLSpeicherortWaehlen, Ev::Click);
  EXPECT_EQ(u.dialoge.ordnerDialoge[0].folder, B + "/html");
  EXPECT_EQ(st.HTMLOrdnerPfad, "");
  // ...so it moves with the picture folder.
  anlegen(B + "/Neu");
  ordnerAntwort(B + "/Neu");
  m.run(O::BitBBilderPfadWahl, Ev::Click);
  EXPECT_EQ(m.text(O::EdHTMLPfadname), B + "/Neu/html");

  // Another folder is kept and the other two standards follow it.
  anlegen(B + "/Web");
  ordnerAntwort(B + "/Web");
  m.run(O::EdHTMLPfadname, Ev::Click);  // clicking the display opens the chooser
  EXPECT_EQ(st.HTMLOrdnerPfad, B + "/Web");
  EXPECT_EQ(m.text(O::EdHTMLPfadname), B + "/Web");
  EXPECT_EQ(m.text(O::EdgrosseBilderPfadname), B + "/Web/_gross");
  EXPECT_EQ(m.text(O::EdVorschauPfadname), B + "/Web/_vorschau");
  m.run(O::BitBHTMLSpeicherortWaehlen, Ev::Click);  // cancelled
  EXPECT_EQ(u.dialoge.ordnerDialoge.back().folder, B + "/Web");
  EXPECT_EQ(st.HTMLOrdnerPfad, B + "/Web");

  // The standard spelt with a trailing '/' is the standard too.
  ordnerAntwort(B + "/Neu/html/");
  m.run(O::BitBHTMLSpeicherortWaehlen, Ev::Click);
  EXPECT_EQ(st.HTMLOrdnerPfad, "");

  st.HTMLOrdnerPfad = B + "/Web";
  m.run(O::BitBHTMLOrdnerLoeschen, Ev::Click);
  EXPECT_EQ(st.HTMLOrdnerPfad, "");
  EXPECT_EQ(m.text(O::EdHTMLPfadname), B + "/Neu/html");
  EXPECT_EQ(m.text(O::EdgrosseBilderPfadname), B + "/Neu/html/_gross");
  EXPECT_TRUE(u.dialoge.meldungen.empty());
}

TEST_F(Auswahl, GrosseBilderUndVorschaubilder) {
  const std::string warnungGross = "Der Pfad zu den großen Bildern darf nicht gleich \r\ndem Originalbilderpfad sein!";
  const std::string warnungVorschau =
      "Der Pfad zu den Vorschaubildern darf nicht gleich \r\ndem Originalbilderpfad sein!";

  // The picture folder itself: warned, and kept.
  ordnerAntwort(B);
  m.run(O::BitBgrosseBilderSpeicherortWaehlen, Ev::Click);
  EXPECT_EQ(u.dialoge.ordnerDialoge[0].folder, B + "/html/_gross");
  meldung(1, MsgKind::Warning, warnungGross);
  EXPECT_EQ(st.GrosseBilderpfad, B);
  EXPECT_EQ(m.text(O::EdgrosseBilderPfadname), B);
  // Cancelled while it still is the picture folder: warned again.
  m.run(O::BitBgrosseBilderSpeicherortWaehlen, Ev::Click);
  EXPECT_EQ(u.dialoge.ordnerDialoge[1].folder, B);
  meldung(2, MsgKind::Warning, warnungGross);

  // A folder that cannot be written: an error, and kept.
  const std::string fehlt = B + "/gibt es nicht";
  ordnerAntwort(fehlt);
  m.run(O::BitBgrosseBilderSpeicherortWaehlen, Ev::Click);
  meldung(3, MsgKind::Error,
          "In den Ordner " + fehlt +
              " kann nicht geschrieben werden!\r\nBitte wählen Sie ein anderes Verzeichnis für die HTML-Datei(en) aus!");
  EXPECT_EQ(st.GrosseBilderpfad, fehlt);

  // The standard folder chosen: stored as the standard, no message.
  anlegen(B + "/html/_gross");
  ordnerAntwort(B + "/html/_gross");
  m.run(O::BitBgrosseBilderSpeicherortWaehlen, Ev::Click);
  EXPECT_EQ(st.GrosseBilderpfad, "");
  EXPECT_EQ(u.dialoge.meldungen.size(), 3u);
  st.GrosseBilderpfad = fehlt;
  m.run(O::BitBgrosseBilderOrdnerLoeschen, Ev::Click);
  EXPECT_EQ(st.GrosseBilderpfad, "");
  EXPECT_EQ(m.text(O::EdgrosseBilderPfadname), B + "/html/_gross");

  // The thumbnails: the same with their own warning.
  ordnerAntwort(B + "/");
  m.run(O::BitBVorschaubilderSpeicherortWaehlen, Ev::Click);
  EXPECT_EQ(u.dialoge.ordnerDialoge.back().folder, B + "/html/_vorschau");
  meldung(4, MsgKind::Warning, warnungVorschau);
  EXPECT_EQ(st.Vorschaubilderpfad, B + "/");
  EXPECT_EQ(m.text(O::EdVorschauPfadname), B + "/");
  anlegen(B + "/Daumen");
  ordnerAntwort(B + "/Daumen");
  m.run(O::BitBVorschaubilderSpeicherortWaehlen, Ev::Click);
  EXPECT_EQ(st.Vorschaubilderpfad, B + "/Daumen");
  EXPECT_EQ(u.dialoge.meldungen.size(), 4u);
  m.run(O::BitBVorschaubilderordnerLoeschen, Ev::Click);
  EXPECT_EQ(st.Vorschaubilderpfad, "");
  EXPECT_EQ(m.text(O::EdVorschauPfadname), B + "/html/_vorschau");
}

TEST_F(Auswahl, GrosseBilderOrdnerBestimmtDieUmbenennung) {
  m.setChecked(O::CBOriginaleVerkleinern, true);
  ASSERT_TRUE(en(O::CBUngueltigeNamenErsetzen));
  // An existing folder nobody can create files in (not even root).
  ordnerAntwort("/proc");
  m.run(O::BitBgrosseBilderSpeicherortWaehlen, Ev::Click);
  EXPECT_EQ(m.text(O::EdgrosseBilderPfadname), "/proc");
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Error);
  EXPECT_FALSE(en(O::CBUngueltigeNamenErsetzen));
  m.run(O::BitBgrosseBilderOrdnerLoeschen, Ev::Click);
  EXPECT_TRUE(en(O::CBUngueltigeNamenErsetzen));
}

TEST_F(Auswahl, DateiwahlenRelativZumHTMLOrdner) {
  const std::string html = B + "/html";
  anlegen(html + "/bilder");
  anlegen(B + "/../icons");
  datei(html + "/bilder/Hintergrund.JPG");
  datei(B + "/../icons/favicon.ico");
  datei(html + "/eigen.css");

  m.setChecked(O::CBHintergrundgrafik, true);
  u.dialoge.dateiAntworten.push_back(html + "/bilder/Hintergrund.JPG");
  m.run(O::BitBWaehlerHintergrundgrafik, Ev::Click);
  EXPECT_EQ(m.text(O::EdHintergrundgrafik), "bilder/Hintergrund.JPG");
  EXPECT_EQ(st.LetzteGrafikdatei, "Hintergrund.JPG");
  EXPECT_EQ(u.dialoge.dateiDialoge[0].optionen.folder, html);

  // Outside the HTML folder: climbing with "../".
  m.setChecked(O::CBFavicon, true);
  u.dialoge.dateiAntworten.push_back(B + "/../icons/favicon.ico");
  m.run(O::BitBFavicon, Ev::Click);
  EXPECT_EQ(m.text(O::EdFavicon), "../../icons/favicon.ico");
  EXPECT_TRUE(m.checked(O::CBFavicon));
  EXPECT_EQ(u.dialoge.dateiDialoge[1].optionen.fileName, "");

  m.setChecked(O::CBAndereCSSDatei, true);
  u.dialoge.dateiAntworten.push_back(html + "/eigen.css");
  m.run(O::BitBCSSDatei, Ev::Click);
  EXPECT_EQ(m.text(O::EdAndereCSSDatei), "eigen.css");

  // The link-back graphic shares the last graphic name; each other picker
  // proposes its own.
  m.run(O::BitBLinkZurueckGrafik, Ev::Click);
  EXPECT_EQ(u.dialoge.dateiDialoge[3].optionen.fileName, "Hintergrund.JPG");
  m.run(O::BitBFavicon, Ev::Click);
  EXPECT_EQ(u.dialoge.dateiDialoge[4].optionen.fileName, "favicon.ico");
  m.run(O::BitBCSSDatei, Ev::Click);
  EXPECT_EQ(u.dialoge.dateiDialoge[5].optionen.fileName, "eigen.css");
  m.run(O::BitBLinkZuruekVerlinkteDatei, Ev::Click);
  EXPECT_EQ(u.dialoge.dateiDialoge[6].optionen.fileName, "");
  // Cancelled: the fields are as they were.
  EXPECT_EQ(m.text(O::EdFavicon), "../../icons/favicon.ico");
  EXPECT_EQ(m.text(O::EdAndereCSSDatei), "eigen.css");

  // A chosen file that is not there empties the field: the option goes off,
  // the link target becomes "../index.htm".
  m.setChecked(O::CBLinkZurueckZurHomepage, true);
  m.setChecked(O::CBLinkZureckGrafikLink, true);
  m.setText(O::EdLinkZurueckGrafik, "alt.png");
  u.dialoge.dateiAntworten.push_back(html + "/fehlt.png");
  m.run(O::BitBLinkZurueckGrafik, Ev::Click);
  EXPECT_EQ(m.text(O::EdLinkZurueckGrafik), "");
  EXPECT_FALSE(m.checked(O::CBLinkZureckGrafikLink));
  EXPECT_EQ(st.LetzteGrafikdatei, "Hintergrund.JPG");
  m.setText(O::EdLinkZuruekVerlinkteDatei, "start.htm");
  u.dialoge.dateiAntworten.push_back(B + "/fehlt.htm");
  m.run(O::BitBLinkZuruekVerlinkteDatei, Ev::Click);
  EXPECT_EQ(m.text(O::EdLinkZuruekVerlinkteDatei), "../index.htm");

  // A chosen HTML folder is the start and the base.
  st.HTMLOrdnerPfad = html + "/bilder";
  u.dialoge.dateiAntworten.push_back(html + "/bilder/Hintergrund.JPG");
  m.run(O::BitBLinkZurueckGrafik, Ev::Click);
  EXPECT_EQ(u.dialoge.dateiDialoge.back().optionen.folder, html + "/bilder");
  EXPECT_EQ(m.text(O::EdLinkZurueckGrafik), "Hintergrund.JPG");
}

}  // namespace
}  // namespace mosaik::test
