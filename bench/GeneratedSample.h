#pragma once
#include <string>

/// Path of a generated fan handbook file of `count` racers, written on first
/// use into a temporary folder that is removed when the program ends.
const std::string& GeneratedSamplePath(int count);
