// The date taken of many JPEG files, each read through ReadFileDateTaken,
// against a bare read of the same files' first 64 KB (CreateFileA, ReadFile,
// CloseHandle) in the same run. bench/date_taken.sh makes the files.
// Usage: date_taken.exe <folder> <file count> <the files' date taken as YYYYMMDDhhmmss>
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include "bench/bench_clock.h"
#include "core/date_taken.h"
#include "filelist/date_taken_file.h"


// The baseline: the reader's own opening and reading, and nothing done with
// the bytes. Returns the number of files read.
static int ReadStarts(char** paths, int count)
{
    int read = 0;
    for (int i = 0; i < count; i++) {
        HANDLE file = CreateFileA(paths[i], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  NULL, OPEN_EXISTING, 0, NULL);
        if (file == INVALID_HANDLE_VALUE) continue;
        unsigned char start[kDateTakenReadSize];
        DWORD got = 0;
        if (ReadFile(file, start, sizeof start, &got, NULL) && got > 0) read++;
        CloseHandle(file);
    }
    return read;
}

// Returns the number of files whose date taken is the expected one.
static int ReadDates(char** paths, int count, long long expected)
{
    int matched = 0;
    for (int i = 0; i < count; i++) {
        long long key = 0;
        if (ReadFileDateTaken(paths[i], &key) && key == expected) matched++;
    }
    return matched;
}


int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: date_taken.exe <folder> <file count> <date taken as YYYYMMDDhhmmss>\n");
        return 2;
    }
    int count = atoi(argv[2]);
    long long expected = atoll(argv[3]);
    if (count <= 0) return 2;
    char** paths = (char**)malloc((size_t)count * sizeof(char*));
    for (int i = 0; i < count; i++) {
        char path[MAX_PATH + 32];
        snprintf(path, sizeof path, "%s\\IMG_%05d.JPG", argv[1], i + 1);
        paths[i] = strdup(path);
    }

    int read = ReadStarts(paths, count);  // warms the cache
    int dated = ReadDates(paths, count, expected);
    if (read != count || dated != count) {
        fprintf(stderr, "date_taken: of %d files %d were read and %d gave the date %lld\n", count, read, dated,
                expected);
        return 1;
    }

    double bare[kRounds], dates[kRounds];
    for (int round = 0; round < kRounds; round++) {
        double start = Seconds();
        ReadStarts(paths, count);
        bare[round] = Seconds() - start;
        start = Seconds();
        ReadDates(paths, count, expected);
        dates[round] = Seconds() - start;
    }

    printf("bare CreateFileA+ReadFile of the first 64 KB: %8.3f s\n", Best(bare));
    printf("ReadFileDateTaken:                            %8.3f s\n", Best(dates));
    printf("date taken of %d JPEG files ratio %.2f (goal <= 1.5; best of %d rounds each)\n", count,
           Best(dates) / Best(bare), kRounds);

    for (int i = 0; i < count; i++) free(paths[i]);
    free(paths);
    return 0;
}
