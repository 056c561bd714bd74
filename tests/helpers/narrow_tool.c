/* A stand-in for the fusion and the alignment program as Windows users have them: a narrow
   main(), so the system hands it its arguments in the ANSI code page. It opens every input with
   fopen and records its arguments (one a line) in the file named by the environment variable
   LVP_NARROW_TOOL_ARGS (the alignment's with ".align" appended). As the fusion program it writes
   the file after "-o"; called with "-a PREFIX" it aligns: it writes PREFIX0000.tif, ... for the
   inputs after "-C". Exit 1 when a file cannot be opened or written. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void record_arguments(int argc, char** argv, const char* prefix)
{
    const char* record = getenv("LVP_NARROW_TOOL_ARGS");
    char name[1024];
    FILE* f;
    int i;
    if (!record || strlen(record) + 7 > sizeof name)
        return;
    strcpy(name, record);
    if (prefix)
        strcat(name, ".align");
    f = fopen(name, "wb");
    for (i = 1; f && i < argc; ++i)
        fprintf(f, "%s\n", argv[i]);
    if (f)
        fclose(f);
}

static int write_file(const char* path, const char* text, int images)
{
    FILE* f = fopen(path, "wb");
    if (!f) {
        printf("cannot write \"%s\"\n", path);
        return 0;
    }
    fprintf(f, text, images);
    fclose(f);
    return 1;
}

int main(int argc, char** argv)
{
    const char* output = NULL;
    const char* prefix = NULL; /* aligning */
    int i, images = 0;
    for (i = 1; i + 1 < argc; ++i) {
        if (strcmp(argv[i], "-a") == 0)
            prefix = argv[i + 1];
    }
    record_arguments(argc, argv, prefix);
    for (i = 1; i < argc; ++i) {
        FILE* f;
        if ((strcmp(argv[i], "-o") == 0 || strcmp(argv[i], "-a") == 0) && i + 1 < argc) {
            output = strcmp(argv[i], "-o") == 0 ? argv[i + 1] : output;
            ++i;
            continue;
        }
        if (argv[i][0] == '-')
            continue;
        f = fopen(argv[i], "rb");
        if (!f) {
            printf("cannot open \"%s\"\n", argv[i]);
            return 1;
        }
        fclose(f);
        if (prefix) {
            char aligned[1024];
            if (strlen(prefix) + 9 > sizeof aligned)
                return 1;
            sprintf(aligned, "%s%04d.tif", prefix, images);
            if (!write_file(aligned, "aligned image %d\n", images))
                return 1;
        }
        ++images;
    }
    if (output && !write_file(output, "%d images fused\n", images))
        return 1;
    printf(prefix ? "%d images aligned\n" : "%d images fused\n", images);
    return 0;
}
