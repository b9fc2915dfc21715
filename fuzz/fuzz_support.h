#pragma once
// What the fuzz targets share: the input as a file of its own, and the check that no text meant
// for the user carries a number that is not one.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace zeb::fuzz {

// The input written to a regular file that lives as long as the object (in /dev/shm when it
// exists, so a million inputs do not wear a disk). The readers under test take paths.
class InputFile {
public:
    InputFile(const std::uint8_t* data, std::size_t size, std::string_view suffix) {
        const std::filesystem::path dir =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        path_ = dir / ("zeb-fuzz-" + std::to_string(getpid()) + std::string(suffix));
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        if (f == nullptr)
            std::abort();
        if (size > 0 && std::fwrite(data, 1, size, f) != size)
            std::abort();
        std::fclose(f);
    }
    ~InputFile() { std::remove(path_.c_str()); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Blanks out the texts the user typed (names of waters and the like), which a report prints as
// they are and which may well hold "nan" or "inf" ("Brunnan 3", "Info"): each of their bytes
// becomes a character that cannot join the letters either side into either, so that the line
// keeps its length and its "Excel" form can be made from it. Only the first place of each in a
// line: a computed "nan" beside a typed one is still seen. The places are all found in the line
// as it stands before any is blanked, so that texts which overlap there ("       B" and
// " Brunnan" in "        Brunnan") are blanked together rather than one leaving the other's
// letters behind.
inline std::string WithoutTexts(const std::string& line, const std::vector<std::string>& texts) {
    std::string out = line;
    for (const std::string& t : texts) {
        if (t.empty())
            continue;
        if (const std::size_t at = line.find(t); at != std::string::npos)
            std::fill(out.begin() + at, out.begin() + at + t.size(), '|');
    }
    return out;
}

// "nan" or "inf" in any case: the way printf and the JSON library spell a failed value.
inline bool ShowsNonNumber(std::string_view text) {
    for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
        auto lower = [&](std::size_t j) { return static_cast<char>(text[i + j] | 0x20); };
        if ((lower(0) == 'n' && lower(1) == 'a' && lower(2) == 'n') ||
            (lower(0) == 'i' && lower(1) == 'n' && lower(2) == 'f'))
            return true;
    }
    return false;
}

} // namespace zeb::fuzz
