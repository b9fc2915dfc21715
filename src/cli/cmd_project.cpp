// zeb-cli project: show a project file as JSON, rewrite it as a current file, or write a new one.
#include "app/project_file.h"
#include "cli/common.h"

#include <CLI/CLI.hpp>

namespace zeb::cli {

namespace {

Json ProjectJson(const app::Project& project, const std::string& signature) {
    Json j;
    j["signature"] = signature;
    Json waters = Json::object();
    for (app::WaterId id : app::kAllWaters) {
        Json w = Json::object();
        for (const app::WaterField& f : app::WaterAnalysisFields())
            w[std::string(f.name)] = project.water(id).*f.member;
        waters[std::string(1, app::WaterLetter(id))] = w;
    }
    j["waters"] = waters;
    Json c = Json::object();
    c["text"] = project.parts.conditioning.text;
    for (const app::ConditioningField& f : app::ConditioningFields())
        c[std::string(f.name)] = project.parts.conditioning.*f.member;
    j["conditioning"] = c;
    j["w216"] = {{"reserved", project.parts.w216.reserved},
                 {"text", project.parts.w216.text},
                 {"values", project.parts.w216.values}};
    return j;
}

} // namespace

void AddProjectCommands(CLI::App& app) {
    auto* cmd = app.add_subcommand("project", "Show a project file as JSON, or write one");
    auto file = std::make_shared<std::string>();
    auto saveTo = std::make_shared<std::string>();
    auto newFile = std::make_shared<std::string>();
    cmd->add_option("file", *file, "Project file (.zeb) to read")->check(FileName());
    auto* save =
        cmd->add_option("--save", *saveTo, "Write the project read as a current project file")
            ->check(FileName());
    auto* create =
        cmd->add_option("--new", *newFile, "Write the default project")->check(FileName());
    create->excludes(save);
    cmd->callback([=] {
        if (!newFile->empty()) {
            if (!file->empty())
                throw CLI::ValidationError("--new", "takes no input file");
            app::LineBuffer buffer;
            SaveProjectOrFail(*newFile, app::Project(), buffer);
            return;
        }
        if (file->empty())
            throw CLI::RequiredError("file (or --new)");
        app::LineBuffer buffer;
        const app::Project project = LoadProjectOrFail(*file, buffer);
        if (!saveTo->empty()) {
            SaveProjectOrFail(*saveTo, project, buffer);
            return;
        }
        EmitJson(ProjectJson(project, buffer[1]), "");
    });
}

} // namespace zeb::cli
