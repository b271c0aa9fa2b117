#include "compare/calibration.h"

#include <Eigen/Dense>
#include <cmath>

#include "compare/scatter.h"

namespace diaspring::compare {
namespace {

double rmsOf(const DesignCurve& d, const SpringParams& p, const MeasuredCurve& m) {
  const search::LoadLaw law(geometryOf(p), p.E, d.clutch.mu);
  double sq = 0;
  for (const auto& [l, F] : m.loading) sq += (law(l) - F) * (law(l) - F);
  return std::sqrt(sq / static_cast<double>(m.loading.size()));
}

}  // namespace

Calibration calibrate(const DesignCurve& d, const MeasuredCurve& m) {
  Calibration c;
  if (!d.ok() || m.loading.size() < 3) return c;
  SpringParams p = nominalParams(d);
  const Eigen::Index n = static_cast<Eigen::Index>(m.loading.size());
  Eigen::MatrixXd J(n, 2);
  Eigen::VectorXd res(n);
  const auto residuals = [&](const SpringParams& q, Eigen::VectorXd* r, Eigen::MatrixXd* jac) {
    double sq = 0;
    for (Eigen::Index i = 0; i < n; ++i) {
      const auto& [l, F] = m.loading[static_cast<std::size_t>(i)];
      const LoadGradient g = loadGradient(q, d.clutch.mu, l);
      const double e = g.F - F;
      sq += e * e;
      if (r) (*r)(i) = e;
      if (jac) (*jac)(i, 0) = g.dh, (*jac)(i, 1) = g.dH;
    }
    return sq;
  };
  double cost = residuals(p, &res, &J);
  double damping = 1e-3;
  for (c.iterations = 1; c.iterations <= 200; ++c.iterations) {
    // (JᵀJ + λ diag JᵀJ) δ = −Jᵀr, solved through the QR of the stacked system.
    const Eigen::Vector2d scale = J.colwise().norm().transpose();
    Eigen::MatrixXd A(n + 2, 2);
    A.topRows(n) = J;
    A.bottomRows(2) = (std::sqrt(damping) * scale).asDiagonal();
    Eigen::VectorXd b(n + 2);
    b.head(n) = -res;
    b.tail(2).setZero();
    const Eigen::Vector2d step = A.colPivHouseholderQr().solve(b);
    SpringParams trial = p;
    trial.h += step(0);
    trial.H += step(1);
    Eigen::VectorXd trialRes(n);
    Eigen::MatrixXd trialJ(n, 2);
    const double trialCost =
        trial.h > 0 && std::isfinite(step(0)) && std::isfinite(step(1)) ? residuals(trial, &trialRes, &trialJ) : INFINITY;
    if (std::isfinite(trialCost) && trialCost <= cost) {
      const bool small = std::fabs(step(0)) < 1e-9 * (1 + std::fabs(p.h)) && std::fabs(step(1)) < 1e-9 * (1 + std::fabs(p.H));
      const bool flat = cost - trialCost <= 1e-14 * cost;
      p = trial, cost = trialCost, res = trialRes, J = trialJ;
      damping = std::max(damping / 10, 1e-12);
      if (small || flat) {
        c.converged = true;
        break;
      }
    } else {
      damping *= 10;
      if (damping > 1e12) {
        c.converged = true;  // no step lowers the sum any more: a minimum
        break;
      }
    }
  }
  c.h = p.h;
  c.H = p.H;
  c.rms = std::sqrt(cost / static_cast<double>(n));
  return c;
}

MeasuredComparison compareMeasured(const DesignCurve& d, const MeasuredCurve& m) {
  MeasuredComparison out;
  if (!d.ok()) return out;
  const auto deviation = [&](double l) {
    Deviation dev;
    const double measured = m.loadingAt(l);
    const double computed = d.load(l);
    if (std::isfinite(measured)) {
      dev.newton = measured - computed;
      dev.percent = 100 * dev.newton / computed;
    }
    return dev;
  };
  out.atB = deviation(d.p.lambda1B);
  out.atA = deviation(d.p.lambda1A);
  out.overlap = static_cast<int>(m.loading.size());
  out.rms = rmsOf(d, nominalParams(d), m);
  out.fit = calibrate(d, m);
  return out;
}

}  // namespace diaspring::compare
