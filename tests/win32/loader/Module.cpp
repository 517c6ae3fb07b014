// A module that needs a library beside it, as the window module needs the toolkit's.
extern "C" __declspec(dllimport) int TessalyLoaderDependency();

extern "C" __declspec(dllexport) int TessalyLoaderEntry() {
    return TessalyLoaderDependency() + 1;
}
