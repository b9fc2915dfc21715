#pragma once
// The whole chemistry engine: stateless routines on caller-owned arrays, in mmol/L, degC and
// mS/m. Include this or the single headers.

#include "chem/carbonate.h"
#include "chem/conductivity.h"
#include "chem/constants.h"
#include "chem/ionic_strength.h"
#include "chem/numeric.h"
#include "chem/saturation.h"
#include "chem/speciation.h"
#include "chem/types.h"
