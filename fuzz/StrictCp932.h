#pragma once
#include <string_view>

/// True when the bytes are well-formed code page 932 to their end, read with
/// ICU's windows-31j table and no substitution (independent of sensyu/Cp932).
bool IsStrictCp932(std::string_view bytes);
