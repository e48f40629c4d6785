#pragma once
// The page tests share the generator tests' ground.
#include "DurchlaufTestbasis.h"
