namespace mosaik::ui { const char* layerName() { return "ui"; } }
