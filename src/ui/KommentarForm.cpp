// The JPEG comment editor.
#include "ui/KommentarForm.h"

#include <cerrno>
#include <memory>

#include "generator/Bildpipeline.h"
#include "generator/Durchlauf.h"
#include "generator/Entities.h"
#include "generator/Namen.h"
#include "generator/Verzeichnis.h"
#include "imaging/ImgData.h"
#include "imaging/JpegComments.h"
#include "imaging/JpegRowDecoder.h"
#include "imaging/Resampler.h"
#include "platform/FileSystem.h"
#include "ui/Auswahl.h"

namespace mosaik {
namespace {

// The comment of a picture file's bytes as the memo shows it: every comment
// of the file, so that saving replaces no text the user has not seen.
std::string gezeigterKommentar(const std::string& daten) {
  return TKommentarForm::memoText(imaging::JpegCommentText(daten));
}

// Bereit is false while a handler works, so that a click that arrives
// while the work lets window events through is ignored.
class Sperre {
 public:
  explicit Sperre(bool& bereit) : bereit_(bereit) { bereit_ = false; }
  ~Sperre() { bereit_ = true; }
  Sperre(const Sperre&) = delete;
  Sperre& operator=(const Sperre&) = delete;

 private:
  bool& bereit_;
};

// Reduces the decoded rows to the shown size as they come.
class Vorschausenke : public imaging::JpegRowSink {
 public:
  void Start(int w, int h) override {
    Vorschaumass(w, h, TKommentarForm::kSeite, breite, hoehe);
    stretcher = std::make_unique<imaging::RowStretcher>(w, h, breite, hoehe, imaging::TResamplingFilter::Lanczos3, 0.0f);
  }
  void Row(const uint8_t* bgrx) override { stretcher->PushRow(bgrx); }
  int breite = 0, hoehe = 0;
  std::unique_ptr<imaging::RowStretcher> stretcher;
};

}  // namespace

// a * b / c rounded to the nearest, halves to even, in integers: the exact
// value of the ratio, never a rounded floating one.
static int64_t gerundet(int64_t a, int64_t b, int64_t c) {
  const int64_t q = a * b / c, r = a * b % c;
  return 2 * r > c || (2 * r == c && q % 2 != 0) ? q + 1 : q;
}

void Vorschaumass(int w, int h, int seite, int& breite, int& hoehe) {
  breite = hoehe = 0;
  if (w <= 0 || h <= 0) return;
  int64_t b = seite, hh = seite;
  if (w < h)
    b = gerundet(seite, w, h);
  else
    hh = gerundet(seite, h, w);
  if (b > w || hh > h) {
    b = w;
    hh = h;
  }
  // A thin panorama keeps a line of one pixel instead of vanishing.
  breite = static_cast<int>(std::max<int64_t>(b, 1));
  hoehe = static_cast<int>(std::max<int64_t>(hh, 1));
}

TKommentarForm::TKommentarForm(Kontext& k)
    : Bildfenster(kSeite, kSeite, imaging::PixelFormat::Bit24), k_(k) {
  bildLeeren();
}

std::string TKommentarForm::memoText(const std::string& text) { return ZeilenendenCRLF(text); }

void TKommentarForm::Zeigen() {
  Visible = true;
  melden();
  if (modalAnzeigen)
    modalAnzeigen();
  else
    FormActivate();
  Visible = false;
}

// Runs when the window is shown: the main window's picture folder, from
// its first picture. The editor's own message boxes and its folder dialog
// do not count as an activation, so they never throw the user back to the
// first picture or to another folder.
void TKommentarForm::FormActivate() {
  Sperre sperre(Bereit);
  KommentarOrdner = k_.st.BilderOrdnerPfad;
  EdBilderPfad = KommentarOrdner;
  BilderlisteEinlesen();
  AktuellesBild = 0;
  BildAnzeigen(0);
  melden();
}

void TKommentarForm::BitBBilderPfadWahlClick() {
  if (!Bereit) return;
  Sperre sperre(Bereit);
  // An item without a folder on disk counts as no choice.
  if (const auto ordner = OrdnerWaehlen(k_, KommentarOrdner)) {
    KommentarOrdner = *ordner;
    EdBilderPfad = *ordner;
  }
  BilderlisteEinlesen();
  AktuellesBild = 0;
  BildAnzeigen(0);
  melden();
}

void TKommentarForm::BitBWeiterClick() { blaettern(1); }

void TKommentarForm::BitBzurueckClick() { blaettern(-1); }

void TKommentarForm::blaettern(int schritt) {
  if (!Bereit || !gueltig(AktuellesBild)) return;
  Sperre sperre(Bereit);
  // A comment another program changed meanwhile is shown instead of the
  // next picture, so that the user can make the change again on top of it.
  if (KommentarSpeichern(AktuellesBild)) {
    const int n = static_cast<int>(Dateiliste.size());
    AktuellesBild = (AktuellesBild + schritt + n) % n;
  }
  BildAnzeigen(AktuellesBild);
  melden();
}

void TKommentarForm::BitBAbbruchClick() {
  if (!Bereit || !gueltig(AktuellesBild)) return;
  MKommentar = Dateiliste[static_cast<size_t>(AktuellesBild)].Kommentar;
  melden();
}

void TKommentarForm::BSchliessenClick() {
  Visible = false;
  if (schliessen) schliessen();
}

void TKommentarForm::BilderlisteEinlesen() {
  ZeichenAnhaengen('/', KommentarOrdner);
  Dateiliste.clear();
  // The folder is held from its listing on, as a run holds its folders:
  // each picture is shown and written by its name in the folder listed,
  // whatever the folder's path leads to later.
  ordner_ = fs::Place();
  std::string warum;
  if (fs::Fd fd = fs::openFolder(KommentarOrdner, false, &warum)) {
    ordner_ = fs::Place(fd.release(), ".");
  } else if (errno != ENOENT && errno != ENOTDIR) {
    // A folder that is there but refused (behind another user's link, not
    // readable) is no folder without pictures: the user learns why.
    k_.fehler("Der Ordner " + KommentarOrdner + "\r\nkann nicht gelesen werden!\r\n" + warum);
  }
  // Every file counts as archived on Linux, and none as a system file; the
  // read-only option plays no part: such pictures are refused on saving.
  for (const fs::Entry& e : fs::listFolder(ordner_)) {
    if (e.folder || (e.hidden && !k_.m.checked(Opt::CBAttrVersteckt)) || !IstBilddatei(k_, e.name)) continue;
    // A shared folder's protection against renaming is none against writing
    // into the file, which the in-place write does.
    Dateiliste.push_back({e.name, std::string(), e.size, e.dosTime, e.writeProtected});
    k_.sv.pump();
  }
  if (!Dateiliste.empty()) {
    LHinterbildVisible = false;
    BildfensterVisible = true;
  } else {
    LHinterbild = "kein (JPG-)Bild vorhanden";
    LHinterbildVisible = true;
    BildfensterVisible = false;
    MKommentar.clear();
  }
}

void TKommentarForm::bildLeeren() {
  const uint8_t bgr[3] = {static_cast<uint8_t>(Flaeche), static_cast<uint8_t>(Flaeche >> 8),
                          static_cast<uint8_t>(Flaeche >> 16)};
  for (size_t i = 0; i + 2 < Bildfenster.pixels.size(); i += 3) {
    Bildfenster.pixels[i] = bgr[0];
    Bildfenster.pixels[i + 1] = bgr[1];
    Bildfenster.pixels[i + 2] = bgr[2];
  }
  Bild = {};
}

std::optional<std::string> TKommentarForm::bildZeichnen(const std::string& daten) {
  Vorschausenke senke;
  imaging::Bitmap klein;
  try {
    imaging::DecodeJpegRows(daten, senke);
    klein = senke.stretcher->Finish();
  } catch (const std::exception& e) {
    return e.what();
  }
  const int x0 = (kSeite - klein.width) / 2;
  const int y0 = (kSeite - klein.height) / 2;
  for (int y = 0; y < klein.height; ++y) {
    const uint8_t* s = klein.row(y);
    uint8_t* d = Bildfenster.row(y0 + y) + static_cast<size_t>(x0) * 3;
    for (int x = 0; x < klein.width; ++x) {
      d[x * 3 + 0] = s[x * 4 + 0];
      d[x * 3 + 1] = s[x * 4 + 1];
      d[x * 3 + 2] = s[x * 4 + 2];
    }
  }
  Bild = {x0, y0, klein.width, klein.height};
  return std::nullopt;
}

void TKommentarForm::BildAnzeigen(int i) {
  LBildNr.clear();
  LDateiname.clear();
  if (!gueltig(i)) return;
  kommentare::TDateieintrag& e = Dateiliste[static_cast<size_t>(i)];
  LBildNr = std::to_string(i + 1) + "/" + std::to_string(Dateiliste.size());
  LDateiname = e.Name;
  ZeichenAnhaengen('/', KommentarOrdner);
  const std::string pfad = KommentarOrdner + e.Name;
  bildLeeren();
  // The memo must not keep the previous picture's comment: the next step
  // would take it for a change and write it into this file. Number and name
  // stand before a read error is reported.
  MKommentar.clear();
  e.Kommentar.clear();
  melden();
  std::string grund;
  const fs::Place bild = fs::resolveIn(ordner_, e.Name, true, &grund);
  const std::optional<std::string> daten = bild ? fs::readFile(bild, &grund) : std::nullopt;
  if (JpegPruefen(k_, pfad, daten, grund)) {
    k_.sv.pump();
    // Damaged picture data: the loader's message with the decoder's reason,
    // as a gallery run gives it, and no picture.
    if (const auto kaputt = bildZeichnen(*daten)) k_.fehler(Lesefehler(pfad, *kaputt));
  }
  // The comment whenever the sections can be read, whatever the picture.
  MKommentar = gezeigterKommentar(daten.value_or(std::string()));
  e.Kommentar = MKommentar;
}

bool TKommentarForm::KommentarSpeichern(int i) {
  if (!gueltig(i)) return true;
  const kommentare::TDateieintrag& e = Dateiliste[static_cast<size_t>(i)];
  const std::string text = memoText(MKommentar);
  if (text == e.Kommentar) return true;
  const std::string pfad = KommentarOrdner + e.Name;
  const std::string kopf = "Die Datei " + pfad + "\r\nkann nicht geschrieben werden!";
  // The picture by its name in the held folder, a link there resolved once
  // (another user's is not followed): the checks, the reads and the write
  // below all go to this place, so that nothing exchanged meanwhile on the
  // way decides where the comment lands. A picture behind a link is written
  // where it lies; the link stays. One gone since it was shown (or whose
  // link leads nowhere now) is no write-protected one: the user learns what
  // became of it.
  std::string warum;
  const fs::Place bild = fs::resolveIn(ordner_, e.Name, true, &warum);
  if (!bild) {
    k_.fehler(kopf + "\r\n" + warum);
    return true;
  }
  if (struct stat st {}; !bild.status(st)) {
    const int fehlt = errno;
    k_.fehler(kopf + "\r\nDie Datei ist nicht mehr vorhanden oder nicht zug\xC3\xA4nglich (" +
              fs::reasonText(fehlt) + ").");
    return true;
  }
  // A write through a temporary file would replace even a read-only file:
  // the protection is checked here, also when it was set after listing.
  if (e.Schreibgeschuetzt || fs::isWriteProtected(bild)) {
    k_.fehler("Die Datei " + pfad + "\r\nist schreibgeschützt!");
    return true;
  }
  // The user changed the comment that was shown; one another program wrote
  // since then would be lost without a word. The file is read again right
  // before it is written; one that cannot be read now (a pipe or a
  // folder put in its place, its rights taken) is named with the reason.
  const auto jetzt = fs::readFile(bild, &warum);
  if (!jetzt) {
    k_.fehler(kopf + "\r\n" + warum);
    return true;
  }
  if (gezeigterKommentar(*jetzt) != e.Kommentar) {
    k_.fehler("Der Kommentar der Datei " + pfad + " wurde inzwischen von einem anderen Programm ge\xC3\xA4ndert.\r\n"
              "Die Datei bleibt unver\xC3\xA4ndert; angezeigt wird jetzt ihr aktueller Kommentar. " +
              (text.empty() ? "Ihr Text war leer." : "Ihr Text war:\r\n" + text));
    return false;
  }
  std::string zuLang, grund, hinweis;
  bool geschrieben = false;
  try {
    imaging::TimgData metadaten(255);
    metadaten.ProcessFile(bild, pfad);
    try {
      metadaten.MakeCommentSegment(text);
    } catch (const imaging::MetadataWriteError& ex) {
      zuLang = ex.what();
      throw;
    }
    // Only the comment changes; the file keeps its date, owner, rights,
    // attributes and other names.
    hinweis = metadaten.WriteExifJpegFile(bild, pfad);
    geschrieben = true;
  } catch (const imaging::MetadataWriteError& ex) {
    grund = ex.what();
  } catch (const std::exception&) {
  }
  // A text too long for a comment is no failed write: the user learns why.
  if (!zuLang.empty())
    k_.fehler(zuLang + "\r\nDie Datei " + pfad + " wurde nicht verändert.");
  else if (!geschrieben)
    k_.fehler(kopf + (grund.empty() ? "" : "\r\n" + grund));
  else if (!hinweis.empty())
    k_.meldung(MsgKind::Information, "Der Kommentar der Datei " + pfad + " ist gespeichert.\r\n" + hinweis);
  return true;
}

}  // namespace mosaik
