// The run's texts are written here in UTF-8 and handed on in Windows-1251, as the results window
// and the formula language expect them.
#pragma once

#include <string>
#include <string_view>

// utf8 in Windows-1251; every text of the run is representable there.
std::string Win1251(std::string_view utf8);
