// Time per stage of the image pipeline over a corpus, as a run makes the
// files: each original reduced to its large image, then the thumbnail made
// from the large image (walk 2 reads the large-image tree). The options are
// the defaults with reduction on: large images 600 px by the longer side,
// thumbnails 120 px, both resampled, progressive, sliders 15 and 25.
//
//   mosaik_bildbench <corpus folder> <work folder>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Grundeinstellungen.h"
#include "app/options/Kontext.h"
#include "generator/Bildpipeline.h"
#include "generator/Namen.h"
#include "platform/Dialogs.h"

namespace {

void Zeile(const char* name, double gross, double klein, int n) {
  std::printf("  %-12s %10.1f %12.1f %10.1f\n", name, gross / n, klein / n, (gross + klein) / n);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace mosaik;
  if (argc < 3) {
    std::fprintf(stderr, "Aufruf: %s <Korpus> <Arbeitsordner>\n", argv[0]);
    return 2;
  }
  const std::string korpus = std::string(argv[1]) + "/";
  const std::string arbeit = std::string(argv[2]) + "/";
  const std::string gross = arbeit + "gross/", vorschau = arbeit + "vorschau/";
  std::filesystem::remove_all(gross);
  std::filesystem::remove_all(vorschau);
  std::filesystem::create_directories(gross);
  std::filesystem::create_directories(vorschau);

  ConsoleDialogService dialoge;
  Services sv;
  sv.dialogs = &dialoge;
  sv.fontFamilies = [] { return std::vector<std::string>{"Arial"}; };
  OptionModel m;
  AppState st;
  Kontext k{m, st, sv};
  BGrundEinstellungenClick(k, false);
  m.setChecked(Opt::CBOriginaleVerkleinern, true);

  const Ableitungsart artGross = GrossbildArt(m, m.spin(Opt::SpEdGroesseGrosseBilder), false);
  const Ableitungsart artKlein =
      VorschaubildArt(m, m.spin(Opt::SpEdGroesse), m.checked(Opt::CBkleineBilderVergroessern));

  std::vector<std::string> namen;
  for (const auto& e : std::filesystem::directory_iterator(korpus))
    if (e.path().extension() == ".jpg") namen.push_back(e.path().filename().string());
  std::sort(namen.begin(), namen.end());
  if (namen.empty()) {
    std::fprintf(stderr, "Keine Bilder in %s\n", korpus.c_str());
    return 1;
  }

  Stufenzeiten zg, zk;
  const auto start = std::chrono::steady_clock::now();
  const auto nichts = [] {};
  for (const std::string& n : namen) {
    if (!AbgeleitetesBildSchreiben(k, korpus, n, gross + n, artGross, nichts, &zg)) return 1;
    if (!AbgeleitetesBildSchreiben(k, gross, n, vorschau + VorschaubildName(k, n), artKlein, nichts, &zk)) return 1;
  }
  const double gesamt = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);

  const int n = static_cast<int>(namen.size());
  std::printf("Bildpipeline: %d Fotos, ms je Foto\n", n);
  std::printf("  %-12s %10s %12s %10s\n", "Stufe", "Großbild", "Vorschaubild", "zusammen");
  Zeile("lesen", zg.lesen, zk.lesen, n);
  Zeile("dekodieren", zg.dekodieren, zk.dekodieren, n);
  Zeile("verkleinern", zg.verkleinern, zk.verkleinern, n);
  Zeile("kodieren", zg.kodieren, zk.kodieren, n);
  Zeile("metadaten", zg.metadaten, zk.metadaten, n);
  std::printf("  %-12s %10s %12s %10.1f\n", "gesamt", "", "", gesamt / n);
  std::printf("Gesamtzeit %.0f ms, Spitzenspeicher %ld MB\n", gesamt, ru.ru_maxrss / 1024);
  return 0;
}
