#include "chem/numeric.h"

namespace zeb::chem {

void ClearVector50(Vector50& v) {
    v.fill(0.0L);
}

void ClearVector5(Vector5& v) {
    v.fill(0.0L);
}

} // namespace zeb::chem
