// The document-type switch: flags, dependent controls and the rewrite of
// line-break and rule tags in the user's texts.
#include "RegelnTestbasis.h"
#include "ui/Doctype.h"

namespace mosaik {
namespace {

using Doctype = test::Hauptform;

const Opt kMehrzeilig[] = {Opt::MZTextUebOben,    Opt::MZTextUebUnten, Opt::MZTextGrossOben,
                           Opt::MZTextGrossUnten, Opt::MNeuerHeader,   Opt::MNeuerDateiabschluss};
const Opt kEinzeilig[] = {Opt::EdStartordnerName, Opt::EdDieserOrdner, Opt::EdUnterordnerSing, Opt::EdUnterordnerPl,
                          Opt::EdBildSing,        Opt::EdBilderPl,     Opt::EdBilderCopyright, Opt::EdNachOben,
                          Opt::EdTextdatei,       Opt::EdAudiodatei,   Opt::EdVideodatei,      Opt::EdKeineBilddateien,
                          Opt::EdErstelltMit};

void waehlen(OptionModel& m, int index) {
  m.setIndex(Opt::CoBDoctype, index);
  m.run(Opt::CoBDoctype, Ev::Change);
}

TEST_F(Doctype, VonHtmlZuXhtmlUndZurueck) {
  for (Opt o : kMehrzeilig) m.setText(o, "Zeile<BR>zwei<hr>\r\n<br/><HR />drei<Br />");
  for (Opt o : kEinzeilig) m.setText(o, "Grüße<Br>b<hr>c<BR /><br class=\"x\"><br");

  waehlen(m, 2);  // XHTML 1.0 strict
  EXPECT_TRUE(st.DoctypeStrict);
  EXPECT_TRUE(st.DoctypeXHTML);
  EXPECT_TRUE(sichtbar(Opt::LDoctypeAchtung));
  aus({Opt::LFensternavigation, Opt::CoBFensterNavigation});
  EXPECT_TRUE(en(Opt::CBmitXMLDeklaration));
  m.setChecked(Opt::CBmitXMLDeklaration, true);
  for (Opt o : kMehrzeilig)
    EXPECT_EQ(m.text(o), "Zeile<br />zwei<hr />\r\n<br/><HR />drei<Br />") << info(o).name;
  for (Opt o : kEinzeilig) EXPECT_EQ(m.text(o), "Grüße<br />b<hr>c<BR /><br class=\"x\"><br") << info(o).name;

  // Between two XHTML types nothing changes any more.
  waehlen(m, 3);
  EXPECT_FALSE(st.DoctypeStrict);
  EXPECT_TRUE(st.DoctypeXHTML);
  EXPECT_FALSE(sichtbar(Opt::LDoctypeAchtung));
  EXPECT_TRUE(en(Opt::LFensternavigation));
  for (Opt o : kMehrzeilig) EXPECT_EQ(m.text(o), "Zeile<br />zwei<hr />\r\n<br/><HR />drei<Br />");

  waehlen(m, 1);  // HTML 4.01 transitional
  EXPECT_FALSE(st.DoctypeStrict);
  EXPECT_FALSE(st.DoctypeXHTML);
  EXPECT_FALSE(en(Opt::CBmitXMLDeklaration));
  EXPECT_TRUE(m.checked(Opt::CBmitXMLDeklaration));  // kept for the next XHTML type
  for (Opt o : kMehrzeilig) EXPECT_EQ(m.text(o), "Zeile<br>zwei<hr>\r\n<br/><hr>drei<br>") << info(o).name;
  // One-line texts: only the line break; a rule in XHTML form stays.
  for (Opt o : kEinzeilig) m.setText(o, "x<br /><hr />");
  waehlen(m, 0);
  for (Opt o : kEinzeilig) EXPECT_EQ(m.text(o), "x<br><hr />") << info(o).name;
  EXPECT_TRUE(st.DoctypeStrict);
  EXPECT_FALSE(st.DoctypeXHTML);
}

TEST_F(Doctype, FensternavigationNurMitPassenderVerlinkung) {
  m.setChecked(Opt::RBnichtverlinken, true);
  waehlen(m, 3);
  aus({Opt::LFensternavigation, Opt::CoBFensterNavigation});
  // Linked to the picture file (strict types are tested with the rules): no
  // item chosen is neither strict nor XHTML.
  m.setChecked(Opt::RBLinkAufBilddatei, true);
  waehlen(m, 0);
  EXPECT_FALSE(en(Opt::CoBFensterNavigation));
  waehlen(m, -1);
  EXPECT_FALSE(st.DoctypeStrict);
  EXPECT_FALSE(st.DoctypeXHTML);
  EXPECT_TRUE(en(Opt::CoBFensterNavigation));
}

TEST_F(Doctype, EinstellungsdateiSetztDieSchalterVorDemLauf) {
  m.setText(Opt::EdNachOben, "nach<BR>oben");
  einstellungenLesen("[Experten]\r\nDoctype=3\r\n");
  EXPECT_TRUE(st.DoctypeXHTML);
  EXPECT_FALSE(st.DoctypeStrict);
  // The switch runs after the texts were read, so they are rewritten.
  EXPECT_EQ(m.text(Opt::EdNachOben), "nach<br />oben");
  // A value outside the list changes nothing and runs nothing.
  einstellungenLesen("[Experten]\r\nDoctype=7\r\n");
  EXPECT_TRUE(st.DoctypeXHTML);
  EXPECT_EQ(m.index(Opt::CoBDoctype), 3);
}

}  // namespace
}  // namespace mosaik
