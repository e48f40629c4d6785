namespace mosaik::generator { const char* layerName() { return "generator"; } }
