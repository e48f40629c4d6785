#pragma once
// The frame every generated page shares: document type and head (or the
// user's own header), the link back to the user's home page, the page end,
// and the colour texts of pages and style sheet.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/options/Farbe.h"
#include "app/options/Kontext.h"

namespace mosaik {

// The text of one page while it is built. Every line ends in CR LF; the
// page reaches the disk in one piece (SeiteSpeichern), so a failure never
// leaves half a page behind.
class HTMLSeite {
 public:
  void zeile(std::string_view t) {
    text_ += t;
    text_ += "\r\n";
  }
  void roh(std::string_view t) { text_ += t; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// Writes the page as Windows-1252 bytes, replacing an older file only after
// a complete write. Throws std::runtime_error with a German message on
// failure.
void SeiteSpeichern(const std::string& pfad, const HTMLSeite& seite);

// The end of an empty element: " />" for XHTML, ">" otherwise.
std::string LeerElementEnde(const Kontext& k);
// "<hr />" or "<hr>".
std::string Trennlinie(const Kontext& k);


std::string HTMLEnde();
// The comment that names the program; the last line of every page.
std::string GeneratorKommentar();
// The head template for the current options, with its placeholders
// "[DIASHOW-METAREFRESH]", "[HTMLPfad]" and "[BODYID]".
std::string HTMLKopfVorlage(const Kontext& k);

// The first overview page of the gallery's top folder. Picture pages pass
// page 0 and are never the start page.
bool IstStartseite(const Kontext& k, const std::string& ordner, int seite);
// The way back from the folder's pages to the gallery's top folder: "../"
// per level in the folder structure, "" in a flat gallery.
std::string WegZurStartseite(const Kontext& k, const std::string& ordner);
// Whether the user's own header and page end replace the generated ones on
// this page.
bool EigenerKopfGilt(const Kontext& k, bool uebersichtsseite, bool startseite);

// Writes the head of a page up to and including the opening body tag.
// Overview pages pass bildseite = false, no next page and their page
// number; picture pages the page the slideshow moves to, the stopped flag
// and page 0.
void HTMLKopfSchreiben(const Kontext& k, HTMLSeite& seite, bool bildseite, const std::string& naechsteSeite,
                       const std::string& ordner, bool gestoppt, int seitenNummer);

// The link back to the user's home page at the top or the bottom of an
// overview page, when the options ask for it there.
void LinkZurueckSchreiben(const Kontext& k, HTMLSeite& seite, const std::string& ordner, bool startseite,
                          bool oben);

}  // namespace mosaik
