// The run's texts are written here in UTF-8 and handed on in Windows-1251, as the results window
// and the formula language expect them.
#pragma once

#include "runtime/Cp1251.h"

#include <string>
#include <string_view>

// The texts are converted with the runtime's Win1251 (runtime/Cp1251.h); every text of the run
// is representable in Windows-1251.
