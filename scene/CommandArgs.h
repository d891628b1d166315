#pragma once
#include <optional>
#include <string>
#include <vector>

class CDirectX;

// The fields of a comma-separated argument token; nullopt (after the argument-error line)
// when it has fewer than count fields.
std::optional<std::vector<std::string>> commandFields(CDirectX& dx, const std::string& command,
                                                      const std::string& arg, size_t count);
