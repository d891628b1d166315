// Without libFuzzer (a gcc build) every harness becomes a plain program that feeds each file of
// the given folders, in name order, to its entry function once: the suite replays the kept
// inputs under the sanitizers of the normal test build.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool isNote(const std::filesystem::path& p)
{
    const std::string name = p.filename().string();
    return name.rfind("README", 0) == 0 || p.extension() == ".md";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s INPUT_FOLDER_OR_FILE...\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg = argv[i];
        std::error_code ec;
        if (std::filesystem::is_directory(arg, ec)) {
            for (const auto& e : std::filesystem::directory_iterator(arg, ec))
                if (e.is_regular_file() && !isNote(e.path()))
                    inputs.push_back(e.path());
        } else if (std::filesystem::is_regular_file(arg, ec)) {
            inputs.push_back(arg);
        } else {
            std::fprintf(stderr, "%s: no such file or folder\n", argv[i]);
            return 2;
        }
    }
    std::sort(inputs.begin(), inputs.end());
    for (const auto& p : inputs) {
        std::ifstream f(p, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        // The name first, so a crash shows which input it was.
        std::fprintf(stderr, "replay %s (%zu bytes)\n", p.string().c_str(), bytes.size());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    // A harness without kept inputs tests nothing.
    return inputs.empty() ? 1 : 0;
}
