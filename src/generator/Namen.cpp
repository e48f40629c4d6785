#include "generator/Namen.h"

#include "platform/FileSystem.h"

namespace mosaik {
namespace {
// File-name part of a path, its extension (with the dot) and the rest.
std::string dateiTeil(const std::string& p) {
  const auto s = p.find_last_of('/');
  return s == std::string::npos ? p : p.substr(s + 1);
}
std::string erweiterung(const std::string& name) {
  const auto d = name.rfind('.');
  return d == std::string::npos ? std::string() : name.substr(d);
}
}  // namespace

std::string standardOrdnerHTML(const Kontext& k) {
  std::string p = k.st.BilderOrdnerPfad;
  if (p.empty() || p.back() != '/') p += '/';
  return p + "html";
}

std::string HTMLOrdner(const Kontext& k) {
  std::string p = k.st.HTMLOrdnerPfad.empty() ? standardOrdnerHTML(k) : k.st.HTMLOrdnerPfad;
  ZeichenAnhaengen('/', p);
  return p;
}

std::string standardOrdnerGrosseBilder(const Kontext& k) {
  const std::string h = k.st.HTMLOrdnerPfad.empty() ? standardOrdnerHTML(k) : k.st.HTMLOrdnerPfad;
  return (h.empty() || h.back() != '/' ? h + "/" : h) + "_gross";
}

std::string standardOrdnerVorschaubilder(const Kontext& k) {
  const std::string h = k.st.HTMLOrdnerPfad.empty() ? standardOrdnerHTML(k) : k.st.HTMLOrdnerPfad;
  return (h.empty() || h.back() != '/' ? h + "/" : h) + "_vorschau";
}

bool OrdnerBeschreibbar(const std::string& folder) {
  return fs::probeWritable(folder, "Mosaikschauer###tmp###.tmp");
}

std::string UebersichtsseiteDateiname(const Kontext& k, const std::string& f, int p) {
  const std::string n = dateiTeil(k.m.text(Opt::EdNameHTML));
  const std::string x = erweiterung(n);
  const std::string b = n.substr(0, n.size() - x.size());
  const std::string& a = k.m.text(Opt::EdKlammerAuf);
  const std::string& h = k.m.text(Opt::EdBindestrich);
  const std::string& z = k.m.text(Opt::EdKlammerZu);
  const bool index = k.m.checked(Opt::CBGrundnameistIndex);
  const std::string ps = std::to_string(p);
  if (!k.m.checked(Opt::RBStrukturflach)) {
    if (p == 1) return index ? "index" + x : b + x;
    return b + a + ps + z + x;
  }
  if (p > 1) return b + a + f + h + ps + z + x;
  if (f == "0") return index ? "index" + x : n;
  return b + a + f + z + x;
}

void ZeichenAnhaengen(char c, std::string& text) {
  if (!text.empty() && text.back() != c) text += c;
}

void ZeichenEntfernen(char c, std::string& text) {
  if (!text.empty() && text.back() == c) text.pop_back();
}

std::string LetzterOrdnername(std::string path) {
  ZeichenEntfernen('/', path);
  const auto s = path.rfind('/');
  return s == std::string::npos ? path : path.substr(s + 1);
}

}  // namespace mosaik
