/* The floor for the unattended run: a libc-only program doing the same file work. It reads the
 * module file, writes the five output files from reference copies, installs the XP/2000 INF and
 * removes its stale .pnf; every file is replaced as the wizard replaces it (a temporary beside
 * it, synced, renamed over it).
 * Usage: libc_writer MODULE.ini REFERENCE-DIR OUTPUT-DIR INF-DIR */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static const char* const kNames[] = {"Scope_RT.inf", "Scope9_9x.inf", "Scope9_NT4.inf",
                                     "Scope9_NT5.inf", "Scope9.ini"};

static size_t ReadAll(const char* path, char* buffer, size_t size) {
    FILE* file = fopen(path, "rb");
    if (!file) {
        perror(path);
        exit(1);
    }
    const size_t n = fread(buffer, 1, size, file);
    fclose(file);
    return n;
}

static void WriteAll(const char* path, const char* bytes, size_t size) {
    char temporary[4096];
    snprintf(temporary, sizeof temporary, "%s.tmp", path);
    FILE* file = fopen(temporary, "wb");
    if (!file || fwrite(bytes, 1, size, file) != size || fflush(file) != 0 ||
        fsync(fileno(file)) != 0 || fclose(file) != 0 || rename(temporary, path) != 0) {
        perror(path);
        exit(1);
    }
}

int main(int argc, char** argv) {
    static char buffer[1 << 16];
    char path[4096];
    if (argc != 5) {
        fputs("usage: libc_writer MODULE.ini REFERENCE-DIR OUTPUT-DIR INF-DIR\n", stderr);
        return 2;
    }
    ReadAll(argv[1], buffer, sizeof buffer);
    for (size_t i = 0; i < sizeof kNames / sizeof kNames[0]; ++i) {
        snprintf(path, sizeof path, "%s/%s", argv[2], kNames[i]);
        const size_t size = ReadAll(path, buffer, sizeof buffer);
        snprintf(path, sizeof path, "%s/%s", argv[3], kNames[i]);
        WriteAll(path, buffer, size);
        if (strcmp(kNames[i], "Scope9_NT5.inf") == 0) {
            snprintf(path, sizeof path, "%s/%s", argv[4], kNames[i]);
            WriteAll(path, buffer, size);
            snprintf(path, sizeof path, "%s/Scope9_NT5.pnf", argv[4]);
            unlink(path);
        }
    }
    return 0;
}
