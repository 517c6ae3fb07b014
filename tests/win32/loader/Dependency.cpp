// A library that the loader test's module needs, found only in the module's own folder.
extern "C" __declspec(dllexport) int TessalyLoaderDependency() {
    return 42;
}
