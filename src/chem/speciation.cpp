#include "chem/speciation.h"

#include "chem/numeric.h"

#include <cmath>

namespace zeb::chem {

SpeciationResult Speciate(const EquilibriumConstants& k, SpeciesVector& s, long double pH,
                          long double gammaH) {
    const long double K1 = k[0], K2 = k[1], K3 = k[2], K4 = k[3], K5 = k[4], K6 = k[5];
    const long double K7 = k[6], K8 = k[7], K9 = k[8], K12 = k[11], K13 = k[12], K14 = k[13];
    const long double K15 = k[14], K16 = k[15], K17 = k[16], K18 = k[17], K19 = k[18];
    const long double K20 = k[19], K21 = k[20], K22 = k[21], K23 = k[22];

    const long double h = Pow10(-pH) * 1000.0L / gammaH;
    const long double oh = K9 / h;
    s[slot::H] = h;
    s[slot::Oh] = oh;

    const long double dic = s[slot::Dic];
    const long double caTotal = s[slot::CaTotal];
    const long double mgTotal = s[slot::MgTotal];
    const long double so4Total = s[slot::So4Total];
    const long double po4Total = s[slot::Po4Total];

    // Everything that depends only on the constants and h is worked out once: the loop below
    // then needs one division per free value instead of some thirty.
    const long double h2 = h * h;
    const long double h3 = h2 * h;
    const long double hK2 = h / K2;
    const long double h2K1K2 = h2 / (K1 * K2);
    const long double hK2K3 = h / (K2 * K3);
    const long double hK2K6 = h / (K2 * K6);
    const long double invK4 = 1.0L / K4, invK5 = 1.0L / K5, invK7 = 1.0L / K7, invK8 = 1.0L / K8;
    // Without phosphate every phosphate term is an exact zero, so its factors need not be
    // formed at all (about a third of the divisions of a call).
    const bool hasPhosphate = po4Total != 0.0L;
    long double invK15 = 0, invK18 = 0, hK14K16 = 0, hK14K19 = 0, h2K13K14K17 = 0, h2K13K14K20 = 0,
                po4Base = 1.0L;
    if (hasPhosphate) {
        invK15 = 1.0L / K15;
        invK18 = 1.0L / K18;
        hK14K16 = h / (K14 * K16);
        hK14K19 = h / (K14 * K19);
        h2K13K14K17 = h2 / (K13 * K14 * K17);
        h2K13K14K20 = h2 / (K13 * K14 * K20);
        po4Base = h / K14 + 1.0L + h2 / (K13 * K14) + h3 / (K12 * K13 * K14);
    }
    const long double hK23 = h / K23;

    // Carbonate: D = h/K2 + 1 + h^2/(K1 K2) + (1/K4 + h/(K2 K3)) Ca + (1/K7 + h/(K2 K6)) Mg
    const long double dBase = hK2 + 1.0L + h2K1K2;
    const long double dCa = invK4 + hK2K3;
    const long double dMg = invK7 + hK2K6;
    const long double mgOh = K9 / (K22 * h);
    const long double caOh = K9 / (K21 * h);

    long double co3 = dic, ca = caTotal, mg = mgTotal, so4 = so4Total, po4 = po4Total;
    long double d = 0;
    int passes = 0;
    for (;;) {
        ++passes;
        const long double co3Prev = co3, caPrev = ca, mgPrev = mg, so4Prev = so4, po4Prev = po4;
        d = dBase + dCa * ca + dMg * mg;
        co3 = dic / d;
        mg = mgTotal / (co3 * hK2K6 + 1.0L + co3 * invK7 + so4 * invK8 + po4 * invK18 +
                        po4 * hK14K19 + po4 * h2K13K14K20 + mgOh);
        ca = caTotal / (co3 * hK2K3 + 1.0L + co3 * invK4 + so4 * invK5 + po4 * invK15 +
                        po4 * hK14K16 + po4 * h2K13K14K17 + caOh);
        so4 = so4Total / (ca * invK5 + 1.0L + mg * invK8 + hK23);
        po4 = po4Total / (po4Base + ca * invK15 + ca * hK14K16 + ca * h2K13K14K17 + mg * invK18 +
                          mg * hK14K19 + mg * h2K13K14K20);
        const long double change = std::fabs(co3 - co3Prev) + std::fabs(ca - caPrev) +
                                   std::fabs(po4 - po4Prev) + std::fabs(mg - mgPrev) +
                                   std::fabs(so4 - so4Prev);
        const long double sum = co3 + ca + mg + so4 + po4;
        // A water without any of the five totals gives 0/0: nothing left to converge.
        if (change == 0.0L || change / sum < kSpeciationTolerance ||
            passes >= kSpeciationMaxPasses) {
            break;
        }
    }

    s[slot::Co3] = co3;
    s[slot::Ca] = ca;
    s[slot::Mg] = mg;
    s[slot::So4] = so4;
    s[slot::Po4] = po4;

    const long double hco3 = co3 * hK2;
    const long double co2 = co3 * h2K1K2;
    const long double caHco3 = ca * co3 * hK2K3;
    const long double caCo3 = ca * co3 * invK4;
    const long double caSo4 = ca * so4 * invK5;
    const long double mgHco3 = mg * co3 * hK2K6;
    const long double mgCo3 = mg * co3 * invK7;
    const long double mgSo4 = mg * so4 * invK8;
    const long double hpo4 = hasPhosphate ? po4 * h / K14 : 0.0L;
    const long double h2po4 = hasPhosphate ? po4 * h2 / (K13 * K14) : 0.0L;
    const long double h3po4 = hasPhosphate ? po4 * h3 / (K12 * K13 * K14) : 0.0L;
    const long double caPo4 = po4 * ca * invK15;
    const long double caHpo4 = po4 * ca * hK14K16;
    const long double caH2po4 = po4 * ca * h2K13K14K17;
    const long double mgPo4 = po4 * mg * invK18;
    const long double mgHpo4 = po4 * mg * hK14K19;
    const long double mgH2po4 = po4 * mg * h2K13K14K20;
    const long double caOhC = ca * caOh;
    const long double mgOhC = mg * mgOh;
    const long double hso4 = so4 * hK23;

    s[slot::Hco3] = hco3;
    s[slot::Co2] = co2;
    s[slot::CaHco3] = caHco3;
    s[slot::CaCo3] = caCo3;
    s[slot::CaSo4] = caSo4;
    s[slot::MgHco3] = mgHco3;
    s[slot::MgCo3] = mgCo3;
    s[slot::MgSo4] = mgSo4;
    s[slot::Hpo4] = hpo4;
    s[slot::H2po4] = h2po4;
    s[slot::H3po4] = h3po4;
    s[slot::CaPo4] = caPo4;
    s[slot::CaHpo4] = caHpo4;
    s[slot::CaH2po4] = caH2po4;
    s[slot::MgPo4] = mgPo4;
    s[slot::MgHpo4] = mgHpo4;
    s[slot::MgH2po4] = mgH2po4;
    s[slot::CaOh] = caOhC;
    s[slot::MgOh] = mgOhC;
    s[slot::Hso4] = hso4;

    const long double na = s[slot::Na], kk = s[slot::K], cl = s[slot::Cl], no3 = s[slot::No3];
    const long double nh4 = s[slot::Nh4], fe = s[slot::Fe], mn = s[slot::Mn];

    SpeciationResult r;
    r.passes = passes;
    r.r0 = 2.0L * hpo4 + h2po4 + 3.0L * po4 + 3.0L * caPo4 + caH2po4 + 2.0L * caHpo4 +
           3.0L * mgPo4 + mgH2po4 + 2.0L * mgHpo4 + caOhC + mgOhC - hso4 + oh - h;
    r.ionicStrength = 0.5L * (na + kk + cl + no3 + h + oh + hco3 + caHco3 + mgHco3 + h2po4 + caPo4 +
                              caH2po4 + mgPo4 + mgH2po4 + caOhC + mgOhC + hso4 + nh4) +
                      2.0L * (co3 + ca + mg + so4 + hpo4 + fe + mn) + 4.5L * po4;
    r.r1 = (2.0L * (1.0L + ca * invK4 + mg * invK7) + hK2 + ca * hK2K3 + mg * hK2K6) / d;
    r.sumCations = 2.0L * (ca + mg + fe + mn) + na + kk + h + caHco3 + mgHco3 + nh4 + caH2po4 +
                   mgH2po4 + caOhC + mgOhC;
    r.sumAnions = 2.0L * (co3 + so4 + hpo4) + cl + no3 + oh + hco3 + h2po4 + 3.0L * po4 + caPo4 +
                  mgPo4 + hso4;
    return r;
}

} // namespace zeb::chem
