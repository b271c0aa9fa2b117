#include "compare/calibration.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

#include "runtime/convert.h"

#include "compare/scatter.h"

namespace diaspring::compare {
namespace {

double rmsOf(const DesignCurve& d, const SpringParams& p, const MeasuredCurve& m) {
  const search::LoadLaw law(geometryOf(p), p.E, d.clutch.mu);
  double sq = 0;
  for (const auto& [l, F] : m.loading) sq += (law(l) - F) * (law(l) - F);
  return std::sqrt(sq / static_cast<double>(m.loading.size()));
}

// The sum of squares of the loading branch about the least-squares straight
// line through the origin.
double lineCost(const MeasuredCurve& m) {
  double lf = 0, ll = 0;
  for (const auto& [l, F] : m.loading) lf += l * F, ll += l * l;
  const double slope = ll > 0 ? lf / ll : 0;
  double cost = 0;
  for (const auto& [l, F] : m.loading) cost += (F - slope * l) * (F - slope * l);
  return cost;
}

}  // namespace

Calibration calibrate(const DesignCurve& d, const MeasuredCurve& m) {
  Calibration c;
  const auto refuse = [&c](std::string why, std::string whyZh) {
    c.converged = false;
    c.h = c.H = c.hSigma = c.HSigma = c.rms = NAN;
    c.why = std::move(why);
    c.whyZh = std::move(whyZh);
    return c;
  };
  if (!d.ok()) return refuse("the design has no curve to fit the law of", "当前设计没有特性曲线，无法拟合");
  const std::size_t count = m.loading.size();
  if (count < static_cast<std::size_t>(kMinFitPoints))
    return refuse("the loading branch has " + std::to_string(count) + " points; fitting h and H needs at least " +
                      std::to_string(kMinFitPoints),
                  "加载段只有 " + std::to_string(count) + " 个点，拟合 h 与 H 至少需要 " + std::to_string(kMinFitPoints) +
                      " 个");
  if (std::all_of(m.loading.begin(), m.loading.end(), [](const XY& p) { return p.second == 0; }))
    return refuse("every measured load is 0: there is no stiffness to fit", "所有测量载荷都为 0，没有可拟合的刚度");
  SpringParams p = nominalParams(d);
  const Eigen::Index n = static_cast<Eigen::Index>(count);
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
  if (!std::isfinite(cost) || !J.allFinite())
    return refuse("the loads or deflections are beyond the range of numbers the law can be fitted in",
                  "载荷或变形超出载荷公式可拟合的数值范围");
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
  c.iterations = std::min(c.iterations, 200);
  if (!c.converged) return refuse("the fit did not converge in 200 iterations", "拟合在 200 次迭代内未收敛");

  const std::string h = generalText(Num(p.h)), H = generalText(Num(p.H));
  const double ring = p.R - p.r;
  const std::string ringText = format(ring, "0.00");
  if (!(p.h > 0 && p.h < ring))
    return refuse("the fit gives h = " + h + " mm, which is no spring (0 < h < R - r = " + ringText + " mm)",
                  "拟合得 h = " + h + " mm，不是弹簧的厚度（应 0 < h < R − r = " + ringText + " mm）");
  if (!(p.H > 0 && p.H < ring))
    return refuse("the fit gives H = " + H + " mm, which is no cone height (0 < H < R - r = " + ringText + " mm)",
                  "拟合得 H = " + H + " mm，不是锥高（应 0 < H < R − r = " + ringText + " mm）");

  // The Jacobian at the fit with its columns scaled to unit length: its
  // condition number says whether the points tell h from H at all.
  const Eigen::Vector2d norms = J.colwise().norm().transpose();
  const Eigen::JacobiSVD<Eigen::MatrixXd> svd(J * norms.cwiseInverse().asDiagonal());
  const Eigen::Vector2d sv = svd.singularValues();
  const double condition = sv(0) / sv(1);
  if (!(norms.minCoeff() > 0) || !(condition < 1e8))
    return refuse("the Jacobian is singular at the fit: the points do not tell h from H",
                  "拟合处的雅可比矩阵奇异：这些点区分不了 h 与 H");

  const double dof = static_cast<double>(n - 2);
  const double s2 = cost / dof;
  const Eigen::Matrix2d covariance = s2 * (J.transpose() * J).inverse();
  c.hSigma = std::sqrt(covariance(0, 0));
  c.HSigma = std::sqrt(covariance(1, 1));
  c.h = p.h;
  c.H = p.H;
  c.rms = std::sqrt(cost / static_cast<double>(n));
  if (!(c.hSigma < p.h && c.HSigma < p.H))
    return refuse("the points do not determine h and H: h = " + h + " ± " + generalText(Num(c.hSigma)) + " mm, H = " +
                      H + " ± " + generalText(Num(c.HSigma)) + " mm",
                  "这些点确定不了 h 与 H：h = " + h + " ± " + generalText(Num(c.hSigma)) + " mm，H = " + H + " ± " +
                      generalText(Num(c.HSigma)) + " mm");

  // The law against a straight line through the origin, each by its
  // residual variance: when the second unknown lowers it not at all (F ≤ 1
  // in the extra-sum-of-squares test), the points hold no curvature.
  if (!(s2 < lineCost(m) / static_cast<double>(n - 1)))
    return refuse("a straight line through the origin fits the points as well as the law: no curvature to determine H",
                  "过原点的直线与载荷公式拟合得一样好：数据没有曲率，确定不了 H");
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
