// Measures the guess that tells Windows-1252 from UTF-8 in text without a
// byte-order mark, on word lists: every word as it stands, capitalised, in
// capitals and decomposed (NFD), alone and followed by a sign (… “ ” ‘ ’
// – — ™ « » and a non-breaking space), and phrases of two to four words, each stored
// in UTF-8 and, where the code page holds it, in Windows-1252. A text that
// does not read back as itself is a misread; the program prints them per
// list and encoding, with a few examples.
//
//   mosaik_kodierbench [--phrasen N] <word list> ...
//
// A word list holds a word a line (Debian's /usr/share/dict lists, or a
// spelling dictionary's .dic file: its count line and the flags after '/'
// are skipped); a line that is no UTF-8 is taken as Latin-1. The CLDR corpus
// (bench/cldr_korpus.py writes it: the native names of every locale, as
// they stand and as gallery titles) holds a set's name, a tab and a text a
// line; each text counts as it stands. Without the file that set is skipped
// with a note, so the program runs where python3-babel is missing.
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/Win1252.h"

namespace {

using mosaik::TextUnit;

// A refused text (nullopt) equals no word.
std::string lesen(std::string_view bytes) { return mosaik::decodeText(bytes, TextUnit::Line).value_or("\x01"); }

template <class F>
std::string zeichenweise(const std::string& s, F f) {
  std::u32string cps = mosaik::toCodePoints(s);
  for (char32_t& c : cps) c = f(c);
  return mosaik::fromCodePoints(cps);
}

std::string gross(const std::string& s) {
  return zeichenweise(s, [](char32_t c) { return static_cast<char32_t>(std::towupper(static_cast<wint_t>(c))); });
}

std::string anfangGross(const std::string& s) {
  std::u32string cps = mosaik::toCodePoints(s);
  if (!cps.empty()) cps[0] = static_cast<char32_t>(std::towupper(static_cast<wint_t>(cps[0])));
  return mosaik::fromCodePoints(cps);
}

// Decomposition of the accented letters of the lists at hand: the letter,
// its base letter and its combining mark (as macOS stores names).
struct Zerlegung {
  char32_t zeichen, basis, zeichen2;
};
std::vector<Zerlegung> zerlegungen() {
  std::vector<Zerlegung> z;
  const auto reihe = [&](const char* basen, const char* zeichen, char32_t marke) {
    const std::u32string b = mosaik::toCodePoints(basen), c = mosaik::toCodePoints(zeichen);
    for (size_t i = 0; i < b.size() && i < c.size(); ++i) z.push_back({c[i], b[i], marke});
  };
  reihe("AEIOUaeiouNnYy", "ÀÈÌÒÙàèìòùǸǹỲỳ", 0x300);
  reihe("AEIOUYaeiouyCcNnSsZzRrLl", "ÁÉÍÓÚÝáéíóúýĆćŃńŚśŹźŔŕĹĺ", 0x301);
  reihe("AEIOUaeiou", "ÂÊÎÔÛâêîôû", 0x302);
  reihe("ANOanoIiUu", "ÃÑÕãñõĨĩŨũ", 0x303);
  reihe("AEIOUaeiouy", "ÄËÏÖÜäëïöüÿ", 0x308);
  reihe("AaUu", "ÅåŮů", 0x30A);
  reihe("CcSsTtNnZzRrEeDd", "ČčŠšŤťŇňŽžŘřĚěĎď", 0x30C);
  reihe("CcSsTtGgEeAa", "ÇçŞşŢţĢģȨȩ", 0x327);
  reihe("AaEeIiUu", "ĄąĘęĮįŲų", 0x328);
  reihe("ZzEeIG", "ŻżĖėİĠ", 0x307);
  reihe("AaGgUu", "ĂăĞğŬŭ", 0x306);
  reihe("AaEeIiOoUu", "ĀāĒēĪīŌōŪū", 0x304);
  reihe("OoUu", "ŐőŰű", 0x30B);
  reihe("SsTt", "ȘșȚț", 0x326);
  return z;
}

std::string nfd(const std::string& s, const std::vector<Zerlegung>& tabelle) {
  std::u32string aus;
  for (char32_t c : mosaik::toCodePoints(s)) {
    bool zerlegt = false;
    for (const Zerlegung& z : tabelle)
      if (z.zeichen == c) {
        aus += z.basis;
        aus += z.zeichen2;
        zerlegt = true;
        break;
      }
    if (!zerlegt) aus += c;
  }
  return mosaik::fromCodePoints(aus);
}

struct Zaehler {
  long geprueft = 0, falsch = 0;
  std::vector<std::string> beispiele;
};

struct Klasse {
  Zaehler utf8, cp1252;
};

size_t beispielzahl = 4;

void zaehlen(bool falsch, const std::string& text, Zaehler& z) {
  ++z.geprueft;
  if (!falsch) return;
  ++z.falsch;
  if (z.beispiele.size() < beispielzahl) z.beispiele.push_back(text);
}

void pruefen(const std::string& text, Klasse& k) {
  zaehlen(lesen(text) != text, text, k.utf8);
  bool darstellbar = true;
  const std::string cp = mosaik::utf8ToCp1252(text, &darstellbar);
  if (darstellbar) zaehlen(lesen(cp) != text, text, k.cp1252);
}

void zeigen(const std::string& name, const Zaehler& z, const char* kodierung) {
  std::printf("  %-16s %-12s %10ld geprüft %8ld falsch", name.c_str(), kodierung, z.geprueft, z.falsch);
  for (const std::string& b : z.beispiele) std::printf("  [%s]", b.c_str());
  std::printf("\n");
}

bool nurAscii(const std::string& s) {
  for (const char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

std::vector<std::string> woerterLesen(const char* pfad) {
  std::ifstream f(pfad, std::ios::binary);
  std::vector<std::string> w;
  std::string zeile;
  bool erste = true;
  while (std::getline(f, zeile)) {
    const size_t ende = zeile.find_first_of("/\t\r");
    if (ende != std::string::npos) zeile.resize(ende);
    while (!zeile.empty() && zeile.back() == ' ') zeile.pop_back();
    const bool zahl = !zeile.empty() && zeile.find_first_not_of("0123456789") == std::string::npos;
    if (zeile.empty() || (erste && zahl)) {
      erste = false;
      continue;
    }
    erste = false;
    w.push_back(mosaik::isValidUtf8(zeile) ? zeile : [&] {
      std::string u;
      for (const char c : zeile) mosaik::appendUtf8(u, static_cast<unsigned char>(c));
      return u;
    }());
  }
  return w;
}

// The sets of the CLDR corpus in the order of the file, each with its counts.
std::vector<std::pair<std::string, Klasse>> cldrPruefen(const char* pfad) {
  std::ifstream f(pfad, std::ios::binary);
  std::vector<std::pair<std::string, Klasse>> saetze;
  std::string zeile;
  while (std::getline(f, zeile)) {
    const size_t tab = zeile.find('\t');
    if (tab == std::string::npos) continue;
    const std::string satz = zeile.substr(0, tab), text = zeile.substr(tab + 1);
    if (nurAscii(text) || !mosaik::isValidUtf8(text)) continue;
    if (saetze.empty() || saetze.back().first != satz) saetze.emplace_back(satz, Klasse{});
    pruefen(text, saetze.back().second);
  }
  return saetze;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "C.UTF-8");
  long phrasen = 200000;
  const char* cldr = nullptr;
  std::vector<const char*> listen;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--phrasen" && i + 1 < argc)
      phrasen = std::atol(argv[++i]);
    else if (arg == "--beispiele" && i + 1 < argc)
      beispielzahl = static_cast<size_t>(std::atol(argv[++i]));
    else if (arg == "--cldr" && i + 1 < argc)
      cldr = argv[++i];
    else
      listen.push_back(argv[i]);
  }
  if (listen.empty() && !cldr) {
    std::printf(
        "Keine Wortliste angegeben. Aufruf: mosaik_kodierbench [--phrasen N] [--beispiele N] [--cldr <Korpus>] "
        "<Wortliste> ...\n"
        "(z. B. /usr/share/dict/ngerman aus dem Debian-Paket wngerman, oder eine .dic-Datei; das CLDR-Korpus "
        "schreibt bench/cldr_korpus.py)\n");
    return 0;
  }
  const std::vector<Zerlegung> tabelle = zerlegungen();
  const std::vector<std::string> zeichen = {"…", "“", "”", "‘", "’", "–",
                                             "—", "™", "«", "»", "\u00A0"};
  long gesamt[2] = {0, 0};
  if (cldr && !std::ifstream(cldr)) {
    std::printf("%s: CLDR-Korpus fehlt, übersprungen (bench/cldr_korpus.py schreibt es, mit python3-babel)\n", cldr);
  } else if (cldr) {
    std::printf("%s: CLDR\n", cldr);
    for (const auto& [satz, k] : cldrPruefen(cldr)) {
      zeigen(satz, k.utf8, "UTF-8");
      zeigen(satz, k.cp1252, "Windows-1252");
      gesamt[0] += k.utf8.falsch;
      gesamt[1] += k.cp1252.falsch;
    }
    std::fflush(stdout);
  }
  for (const char* pfad : listen) {
    const std::vector<std::string> woerter = woerterLesen(pfad);
    Klasse einzeln, mitZeichen, saetze;
    for (const std::string& w : woerter) {
      if (nurAscii(w)) continue;
      std::vector<std::string> formen = {w};
      for (const std::string& f : {anfangGross(w), gross(w), nfd(w, tabelle)})
        if (std::find(formen.begin(), formen.end(), f) == formen.end()) formen.push_back(f);
      for (const std::string& f : formen) {
        pruefen(f, einzeln);
        for (const std::string& z : zeichen) pruefen(f + z, mitZeichen);
      }
    }
    std::mt19937 zufall(12345);
    for (long i = 0; i < phrasen && !woerter.empty(); ++i) {
      std::uniform_int_distribution<size_t> wahl(0, woerter.size() - 1);
      const int anzahl = 2 + static_cast<int>(zufall() % 3);
      const int art = static_cast<int>(zufall() % 6);
      std::string p;
      for (int j = 0; j < anzahl; ++j) {
        std::string w = woerter[wahl(zufall)];
        if (art == 1 && j == 0) w = anfangGross(w);
        if (art == 2) w = gross(w);
        if (j > 0) p += art == 3 ? "–" : art == 4 && j == 1 ? " – " : " ";
        p += w;
      }
      if (art >= 4) p += zeichen[zufall() % zeichen.size()];
      if (art == 5) p = "„" + p + "“";
      pruefen(p, saetze);
    }
    std::printf("%s: %zu Wörter\n", pfad, woerter.size());
    zeigen("Wörter", einzeln.utf8, "UTF-8");
    zeigen("Wörter", einzeln.cp1252, "Windows-1252");
    zeigen("Wort+Zeichen", mitZeichen.utf8, "UTF-8");
    zeigen("Wort+Zeichen", mitZeichen.cp1252, "Windows-1252");
    zeigen("Phrasen", saetze.utf8, "UTF-8");
    zeigen("Phrasen", saetze.cp1252, "Windows-1252");
    gesamt[0] += einzeln.utf8.falsch + mitZeichen.utf8.falsch + saetze.utf8.falsch;
    gesamt[1] += einzeln.cp1252.falsch + mitZeichen.cp1252.falsch + saetze.cp1252.falsch;
    std::fflush(stdout);
  }
  std::printf("Falsch gelesen insgesamt: UTF-8 %ld, Windows-1252 %ld\n", gesamt[0], gesamt[1]);
  return 0;
}
