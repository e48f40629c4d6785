namespace mosaik::uiqt { const char* layerName() { return "uiqt"; } }
