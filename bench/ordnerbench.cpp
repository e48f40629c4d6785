// Time of a whole run over one big folder of small pictures, for two folder
// sizes: the cost per picture must not grow with the folder. Each round
// writes the pictures afresh (camera names, "DSC_0001.JPG", so that every
// one is renamed) and runs the generation with the defaults and the text,
// audio and video side files linked (the lookups that look at the folder
// for every picture); the fastest of the rounds counts.
//
//   mosaik_ordnerbench <work folder> [small count] [large count] [rounds]
//
// Defaults: 2000 and 8000 pictures, 3 rounds. Prints seconds per run and
// the ratio large/small (4 would be strictly linear).
//
//   mosaik_ordnerbench <work folder> --eigener-ordner [count] [rounds]
//
// A rerun over a gallery whose large images lie in a folder of their own
// (outside the HTML folder, so that the run checks its record of the
// pictures it wrote there): one run makes it, then the fastest of the
// reruns counts (the large images kept); and the first rerun of a copy of
// the whole tree (cp -a), which has to prove its large images anew.
// Default 2000 pictures, 3 rounds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/Grundeinstellungen.h"
#include "app/options/Kontext.h"
#include "generator/Generierung.h"
#include "generator/Lauf.h"
#include "imaging/JpegCodec.h"
#include "platform/Dialogs.h"

namespace {

using namespace mosaik;

struct StilleAnsicht : RunView {
  void laufBeginnt() override {}
  void laufEndet() override {}
  void aktuelleDatei(const std::string&) override {}
  bool StandardbilderUebErzeugen() override { return true; }
  bool StandardbilderGrossErzeugen() override { return true; }
};

// Prints every message and counts the errors.
struct Meldungen : ConsoleDialogService {
  int fehler = 0;
  MsgResult message(MsgKind kind, const std::string& text, MsgButtons buttons,
                    const std::string& caption = {}) override {
    fehler += kind == MsgKind::Error;
    return ConsoleDialogService::message(kind, text, buttons, caption);
  }
};

struct KeineEreignisse : OptionEvents {
  void optionEvent(Opt, Ev) override {}
  void procedure(Proc) override {}
};

void bilderAnlegen(const std::string& ordner, int n, const std::string& bild) {
  std::filesystem::remove_all(ordner);
  std::filesystem::create_directories(ordner);
  for (int i = 1; i <= n; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "DSC_%04d.JPG", i);
    std::ofstream(ordner + name, std::ios::binary) << bild;
  }
}

// Seconds of one run over the pictures in ordner; the large images go to
// grossOrdner when one is given. nullopt when the run failed.
std::optional<double> generieren(const std::string& ordner, const std::string& grossOrdner = {}) {
  Meldungen dialoge;
  Services sv;
  sv.dialogs = &dialoge;
  sv.fontFamilies = [] { return std::vector<std::string>{"Arial"}; };
  OptionModel m;
  KeineEreignisse keine;
  m.setEvents(&keine);
  AppState st;
  Kontext k{m, st, sv};
  BGrundEinstellungenClick(k, false);
  for (Opt o : {Opt::CBLinkZuTextdatei, Opt::CBLinkZuAudio, Opt::CBLinkZuVideo, Opt::CBGrossBildLinkText,
                Opt::CBGrossBildLinkAudio, Opt::CBGrossBildLinkVideo})
    m.setChecked(o, true);
  st.BilderOrdnerPfad = ordner;
  st.Autostart = true;
  if (!grossOrdner.empty()) {
    m.setChecked(Opt::CBOriginaleVerkleinern, true);
    st.GrosseBilderpfad = grossOrdner;
  }
  StilleAnsicht ansicht;
  Lauf l{k, ansicht};
  const auto start = std::chrono::steady_clock::now();
  const bool ok = BitBStartClick(l);
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!ok || dialoge.fehler > 0) return std::nullopt;
  return s;
}

// Seconds of one run over n fresh pictures in ordner.
double lauf(const std::string& ordner, int n, const std::string& bild) {
  bilderAnlegen(ordner, n, bild);
  const auto s = generieren(ordner);
  if (!s) {
    std::fprintf(stderr, "Der Lauf über %d Bilder schlug fehl.\n", n);
    std::exit(1);
  }
  return *s;
}

int eigenerOrdner(const std::string& arbeit, int n, int runden, const std::string& bild) {
  const std::string baum = arbeit + "baum/", kopie = arbeit + "kopie/";
  bilderAnlegen(baum + "fotos/", n, bild);
  if (!generieren(baum + "fotos/", baum + "gross/")) {
    std::fprintf(stderr, "Der erste Lauf über %d Bilder schlug fehl.\n", n);
    return 1;
  }
  // The copies: cp -a keeps the times, cp -r gives every file new ones, so
  // that the rerun also dates each kept large image anew.
  struct {
    const char* befehl;
    double zeit = 1e300;
    bool abgewiesen = false;
  } kopien[] = {{"cp -a"}, {"cp -r"}};
  double tWieder = 1e300;
  for (int r = 0; r < runden; ++r) {
    const auto s = generieren(baum + "fotos/", baum + "gross/");
    if (!s) {
      std::fprintf(stderr, "Ein erneuter Lauf über %d Bilder schlug fehl.\n", n);
      return 1;
    }
    tWieder = std::min(tWieder, *s);
    for (auto& k : kopien) {
      // The last run left the current folder in the copy removed here.
      std::filesystem::current_path(arbeit);
      std::filesystem::remove_all(kopie);
      if (std::system((std::string(k.befehl) + " '" + baum + "' '" + kopie + "'").c_str()) != 0) return 1;
      const auto t = generieren(kopie + "fotos/", kopie + "gross/");
      if (t) k.zeit = std::min(k.zeit, *t);
      k.abgewiesen = k.abgewiesen || !t;
    }
  }
  std::filesystem::remove_all(arbeit);
  std::printf("Große Bilder in einem eigenen Ordner, %d Bilder, schnellste von %d Runden:\n", n, runden);
  std::printf("  erneuter Lauf                     %8.3f s  (%.3f ms je Bild)\n", tWieder, 1000 * tWieder / n);
  for (const auto& k : kopien) {
    if (k.abgewiesen)
      std::printf("  erster Lauf einer Kopie (%s)  abgewiesen\n", k.befehl);
    else
      std::printf("  erster Lauf einer Kopie (%s)  %8.3f s  (%.3f ms je Bild)\n", k.befehl, k.zeit, 1000 * k.zeit / n);
  }
  if (!kopien[0].abgewiesen && !kopien[1].abgewiesen)
    std::printf("  Verhältnis cp -r / cp -a  %.2f\n", kopien[1].zeit / kopien[0].zeit);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "Aufruf: %s <Arbeitsordner> [klein] [gross] [Runden]\n", argv[0]);
    return 2;
  }
  const std::string arbeit = std::string(argv[1]) + "/ordner/";
  // A small photo-like picture (64 x 48), about 2 KB.
  imaging::RgbBitmap b(64, 48);
  for (size_t i = 0; i < b.Pixels.size(); ++i) b.Pixels[i] = static_cast<uint8_t>((i * 7 + i / 192 * 3) & 0xFF);
  const std::string bild = imaging::EncodeJpeg(b, 85, false);
  if (argc > 2 && std::string(argv[2]) == "--eigener-ordner")
    return eigenerOrdner(arbeit, argc > 3 ? std::atoi(argv[3]) : 2000, argc > 4 ? std::max(1, std::atoi(argv[4])) : 3,
                         bild);
  const int klein = argc > 2 ? std::atoi(argv[2]) : 2000;
  const int gross = argc > 3 ? std::atoi(argv[3]) : 8000;
  const int runden = argc > 4 ? std::max(1, std::atoi(argv[4])) : 3;

  double tKlein = 1e300, tGross = 1e300;
  for (int r = 0; r < runden; ++r) {
    tKlein = std::min(tKlein, lauf(arbeit, klein, bild));
    tGross = std::min(tGross, lauf(arbeit, gross, bild));
  }
  std::filesystem::remove_all(arbeit);
  std::printf("Ein Ordner, kleine Bilder, schnellste von %d Runden:\n", runden);
  std::printf("  %6d Bilder %8.2f s  (%.2f ms je Bild)\n", klein, tKlein, 1000 * tKlein / klein);
  std::printf("  %6d Bilder %8.2f s  (%.2f ms je Bild)\n", gross, tGross, 1000 * tGross / gross);
  std::printf("  Verhältnis %.2f bei %.2f-mal so vielen Bildern\n", tGross / tKlein,
              static_cast<double>(gross) / klein);
  return 0;
}
