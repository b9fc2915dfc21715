// The project reader: any file is read as a project, recognised as none, or refused with a
// message; a project read and saved reads back as saved.
#include "app/project_file.h"
#include "fuzz_support.h"

namespace {

// Blanks around a text carry no value (a mode read from a short line may gain one).
zeb::app::ProjectParts Trimmed(zeb::app::ProjectParts parts) {
    auto trim = [](std::string& s) {
        const auto first = s.find_first_not_of(' ');
        s = first == std::string::npos ? std::string()
                                       : s.substr(first, s.find_last_not_of(' ') - first + 1);
    };
    for (auto& w : parts.waters)
        for (const auto& f : zeb::app::WaterAnalysisFields())
            trim(w.*f.member);
    for (const auto& f : zeb::app::ConditioningFields())
        trim(parts.conditioning.*f.member);
    trim(parts.conditioning.text);
    for (auto& v : parts.w216.values)
        trim(v);
    trim(parts.w216.text);
    trim(parts.w216.reserved);
    return parts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zeb;
    const fuzz::InputFile file(data, size, ".zeb");
    app::Project project;
    app::LineBuffer buffer;
    try {
        if (!app::LoadProject(file.path(), project, buffer))
            return 0;
    } catch (const app::FileError&) { // Utf8TextError included
        return 0;
    }
    try {
        app::CheckValueWidths(project.parts);
    } catch (const app::ValueTooWideError&) {
        return 0;
    }
    // A saved project reads back as it was saved: a second save and reading change nothing.
    // (The first save may write a field the file left empty as blanks of its width.)
    auto saveAndRead = [](const app::Project& p) {
        app::LineBuffer written;
        app::WriteProjectLines(p, written, "01.01.2000 00:00:00");
        app::Project again;
        app::ReadProjectLines(again, written);
        return again;
    };
    app::Project once = saveAndRead(project);
    app::Project twice = saveAndRead(once);
    if (!(Trimmed(once.parts) == Trimmed(twice.parts)))
        std::abort();
    return 0;
}
