/* A stand-in for the fusion program as Windows users have it: a narrow main(), so the system
   hands it its arguments in the ANSI code page. It opens every input with fopen, writes the file
   after "-o" with fopen, and records its arguments (one a line) in the file named by the
   environment variable LVP_NARROW_TOOL_ARGS. Exit 1 when a file cannot be opened. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv)
{
    const char* record = getenv("LVP_NARROW_TOOL_ARGS");
    const char* output = NULL;
    int i, images = 0;
    if (record) {
        FILE* f = fopen(record, "wb");
        for (i = 1; f && i < argc; ++i)
            fprintf(f, "%s\n", argv[i]);
        if (f)
            fclose(f);
    }
    for (i = 1; i < argc; ++i) {
        FILE* f;
        if (strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
            output = argv[++i];
            continue;
        }
        if (strncmp(argv[i], "--", 2) == 0)
            continue;
        f = fopen(argv[i], "rb");
        if (!f) {
            printf("cannot open \"%s\"\n", argv[i]);
            return 1;
        }
        fclose(f);
        ++images;
    }
    if (output) {
        FILE* f = fopen(output, "wb");
        if (!f) {
            printf("cannot write \"%s\"\n", output);
            return 1;
        }
        fprintf(f, "%d images fused\n", images);
        fclose(f);
    }
    printf("%d images fused\n", images);
    return 0;
}
