// What both programs say about themselves without starting anything: the version line
// and the desktop application's usage text. `--help` and `--version` are answered
// before any window, display or ROM is touched, so they work on a text console; the
// manual pages are generated from the same texts at build time.
//
//   if (AnswersInformationOption(args)) { PrintInformation(args, "noltace", NoltaceUsageText()); return 0; }
#pragma once

#include <string>
#include <vector>

// "noltace 1.06": the first line of --version.
std::string VersionLine(const std::string& program);
// The whole --version answer.
std::string VersionText(const std::string& program);

const char* NoltaceUsageText();

// True when `args` (after the program name) ask for --help (or -h) or --version.
bool AsksForInformation(const std::vector<std::string>& args);
// The answer to that question: the usage text, or the version text when --version comes first.
std::string InformationText(const std::vector<std::string>& args, const std::string& program, const char* usage);
