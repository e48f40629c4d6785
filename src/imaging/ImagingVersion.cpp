// Keeps the imaging library non-empty while its parts are being added.
namespace mosaik::imaging {
const char* libraryName() { return "mosaik_imaging"; }
}  // namespace mosaik::imaging
