// A shared library that loads fine but is no VST3 module: it exports nothing
// a host looks for.
extern "C" __attribute__((visibility("default"))) int NotAPluginFactory() { return 42; }
