#!/usr/bin/python3
"""Writes the native names of every locale in CLDR as a corpus for
mosaik_kodierbench: territories, languages, scripts, exemplar cities of the
time zones, months and days, each as it stands, with its first letter
capitalised and in capitals, and each of these alone and in the shapes of a
gallery title ("Urlaub in X", "X 2023", „X“, "X…").

    bench/cldr_korpus.py [output file]     (default /tmp/mosaik-bench/cldr.tsv)

A line of the output is the set's name, a tab and the text (UTF-8). Needs
Debian's python3-babel (the CLDR data ship with it); run it with the system's
python3 (/usr/bin/python3) when another python3 comes first on PATH.
"""
import os
import sys

try:
    from babel import Locale, localedata
except ImportError:
    sys.exit("python3-babel fehlt (apt-get install python3-babel)")


def namen(locale):
    yield "Gebiete", locale.territories.values()
    yield "Sprachen", locale.languages.values()
    yield "Schriften", locale.scripts.values()
    yield "Städte", (z["city"] for z in locale.time_zones.values() if "city" in z)
    for satz, tabelle in (("Monate", locale.months), ("Tage", locale.days)):
        for kontext in ("format", "stand-alone"):
            for breite in ("wide", "abbreviated"):
                try:
                    yield satz, tabelle[kontext][breite].values()
                except KeyError:
                    pass


def formen(text):
    for v in dict.fromkeys((text, text[:1].upper() + text[1:], text.upper())):
        yield from (v, "Urlaub in " + v, v + " 2023", "„" + v + "“", v + "…")


def main():
    ziel = sys.argv[1] if len(sys.argv) > 1 else "/tmp/mosaik-bench/cldr.tsv"
    saetze = {}
    for kennung in sorted(localedata.locale_identifiers()):
        for satz, texte in namen(Locale.parse(kennung)):
            menge = saetze.setdefault(satz, {})
            for t in texte:
                if isinstance(t, str) and t and not any(c in t for c in "\t\r\n"):
                    menge.update(dict.fromkeys(formen(t)))
    os.makedirs(os.path.dirname(os.path.abspath(ziel)), exist_ok=True)
    with open(ziel, "w", encoding="utf-8") as f:
        for satz, menge in saetze.items():
            for t in menge:
                f.write(f"{satz}\t{t}\n")
    print(f"{ziel}: " + ", ".join(f"{s} {len(m)}" for s, m in saetze.items()))


if __name__ == "__main__":
    main()
