namespace mosaik::app { const char* layerName() { return "app"; } }
