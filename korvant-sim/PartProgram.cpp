#include "korvant-sim/PartProgram.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace sim {

std::string toJson(const PartProgram& program)
{
    nlohmann::json commands = nlohmann::json::array();
    for (const Command& command : program.commands)
        commands.push_back({{"type", command.typeCode},
                            {"dimension", command.isDimension},
                            {"nominal", command.nominal},
                            {"plus", command.plus},
                            {"minus", command.minus},
                            {"axis", command.axis}});
    const nlohmann::json document = {{"name", program.name}, {"commands", commands}};
    return document.dump(1) + "\n";
}

PartProgram fromJson(const std::string& text)
{
    try {
        const nlohmann::json document = nlohmann::json::parse(text);
        PartProgram program;
        program.name = document.value("name", std::string());
        for (const nlohmann::json& entry : document.value("commands", nlohmann::json::array())) {
            Command command;
            command.typeCode = entry.value("type", command.typeCode);
            command.isDimension = entry.value("dimension", command.isDimension);
            command.nominal = entry.value("nominal", command.nominal);
            command.plus = entry.value("plus", command.plus);
            command.minus = entry.value("minus", command.minus);
            command.axis = entry.value("axis", command.axis);
            program.commands.push_back(std::move(command));
        }
        return program;
    } catch (const nlohmann::json::exception& error) {
        throw std::runtime_error(std::string("not a part program: ") + error.what());
    }
}

PartProgram readPartProgram(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot open " + path);
    std::ostringstream text;
    text << file.rdbuf();
    return fromJson(text.str());
}

void writePartProgram(const PartProgram& program, const std::string& path)
{
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << toJson(program);
        file.close();
        if (!file) {
            std::remove(temporary.c_str());
            throw std::runtime_error("cannot write " + temporary);
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot replace " + path);
    }
}

} // namespace sim

namespace {

sim::Command generatedCommand(std::size_t i)
{
    static const char* const Axes[] = {"X", "Y", "Z", "D", "R", "L", "PR"};
    sim::Command command;
    const std::size_t slot = i % 10;
    if (slot == 0) {
        command.typeCode = 1;
        return command;
    }
    command.isDimension = true;
    command.nominal = static_cast<double>((i * 37) % 50000) / 100.0;
    if (slot == 1) {
        command.typeCode = 1000;
        command.axis = "X";
    } else if (slot == 9) {
        command.typeCode = 1101;
        command.axis = "XY";
    } else {
        command.typeCode = 1101;
        command.axis = Axes[slot - 2];
    }
    return command;
}

} // namespace

sim::PartProgram sim::generatePartProgram(std::size_t count)
{
    PartProgram program;
    program.name = "Erzeugt mit " + std::to_string(count) + " Befehlen";
    program.commands.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        program.commands.push_back(generatedCommand(i));
    return program;
}
