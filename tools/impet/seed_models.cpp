// kelvora-impet-seed FOLDER: writes one settings file per motorcycle model into FOLDER, made by the program's
// own writer from the defaults of new settings and the model number. This is how resources/impet/NEW_309 was
// made; the files are a working start for each model, not calibrations of the real motorcycles.
#include <cstdio>
#include <filesystem>
#include <string>

#include "os/files.h"
#include "settings/newbike.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvora-impet-seed FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    int failed = 0;
    for (const BikeModel& model : BikeModels()) {
        const std::string name = ModelFileName(BikeModelEnglishName(model.tag)) + ".ign";
        const auto written = os::atomicWriteFile(folder / name, DefaultModelSettingsText(model.tag));
        if (!written.ok) {
            std::fprintf(stderr, "%s\n", written.error.c_str());
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}
