// metadata_carry PHOTO OUTPUT RESULT: carries PHOTO's metadata into OUTPUT, writes RESULT when
// done, and prints the outcome's name (the oracle test and the benchmark drive it).
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "metadata/metadata.h"

namespace {
std::vector<uint8_t> ReadAll(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const char* Name(lvp::metadata::ECarryOutcome o)
{
    using E = lvp::metadata::ECarryOutcome;
    static const char* const kNames[] = {"Done",
                                         "OutputHasExif",
                                         "NothingToCarry",
                                         "UnsupportedOutput",
                                         "SourceDamaged",
                                         "OutputUnreadable",
                                         "CannotRewrite"};
    static_assert(std::size(kNames) == static_cast<size_t>(E::CannotRewrite) + 1);
    return kNames[static_cast<size_t>(o)];
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: metadata_carry PHOTO OUTPUT RESULT\n");
        return 2;
    }
    const lvp::metadata::SCarryResult r = lvp::metadata::CarryOver(ReadAll(argv[1]), ReadAll(argv[2]));
    std::printf("%s\n", Name(r.outcome));
    if (r.outcome == lvp::metadata::ECarryOutcome::Done) {
        std::ofstream out(argv[3], std::ios::binary);
        out.write(reinterpret_cast<const char*>(r.rewritten.data()),
                  static_cast<std::streamsize>(r.rewritten.size()));
        if (!out)
            return 1;
    }
    return 0;
}
