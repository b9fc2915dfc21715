#include "chem/speciation.h"

#include "chem/speciation_kernel.h"

namespace zeb::chem {

SpeciationResult Speciate(const EquilibriumConstants& k, SpeciesVector& s, long double pH,
                          long double gammaH) {
    const kernel::Totals totals = kernel::ReadTotals(s);
    const kernel::ConstantFactors c = kernel::MakeConstantFactors(k, totals.po4 != 0.0L);
    kernel::PHFactors f;
    kernel::MakePHFactors(c, pH, gammaH, f);
    const kernel::FreeValues v = kernel::SolveFreeValues(c, f, totals);
    ++speciationTally.calls;
    speciationTally.passes += v.passes;
    return kernel::Finish(c, f, v, s);
}

} // namespace zeb::chem
