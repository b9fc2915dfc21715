// ZEB.ini: any file content is read, or refused with FileError, in bounded time.
#include "app/project_file.h"
#include "app/settings.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zeb;
    const fuzz::InputFile file(data, size, ".ini");
    try {
        const std::optional<app::Settings> s = app::ReadSettings(file.path());
        if (!s)
            std::abort(); // a regular file is never "missing"
        (void)s->language();
    } catch (const app::FileError&) {
    }
    return 0;
}
