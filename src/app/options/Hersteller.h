#pragma once
// The maker's constants, in one place.
namespace mosaik {
inline constexpr const char* kProduktname = "Mosaikschauer";
inline constexpr const char* kVersion = "2.6.1";          // recorded in settings files
inline constexpr const char* kVersionLang = "2.6.1.1";    // shown in the window
inline constexpr const char* kHerstellerWebsite = "https://mosaikschauer.example/";
inline constexpr const char* kHerstellerHost = "mosaikschauer.example";
inline constexpr const char* kHerstellerMail = "rueckmeldung@mosaikschauer.example";
inline constexpr const char* kHerstellerOrdner = "Drevanstal";
inline constexpr const char* kAutor = "Tesvaldo";            // recorded in settings files
inline constexpr const char* kEinstellungsdatei = "Mosaikschauer.ini";
}  // namespace mosaik
