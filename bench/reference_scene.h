#pragma once

#include <map>
#include <string>

namespace korvex::bench {

// Runs bench/reference_scene.py (VisPy drawing the scene SectionScene draws, on the same
// display) and returns its figures in milliseconds by name: "frame", "visual_at",
// "picture", "swap". Throws std::runtime_error when the script cannot run or prints no figures,
// with its error output, so a missing package is named.
std::map<std::string, double> reference_scene_figures();

}  // namespace korvex::bench
