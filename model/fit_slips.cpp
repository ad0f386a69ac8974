#include "model/fit_slips.hpp"

#include "geometry/cut_block.hpp"
#include "geometry/vector_utils.hpp"
#include "geometry/xyz.hpp"
#include "model/detail/symmetric_eigen.hpp"
#include "model/fault_label.hpp"
#include "model/model_run.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace tolvex {

namespace {

using point = xyz;
using moments = std::array<double, 16>; // the sum of w phi phi^T for phi = (x, y, z, 1)

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
// A vertex closer to a fault plane than this fraction of the model's size lies on it: the cut
// corners of a horizon that was itself made by a run, which belong to neither side.
constexpr double on_plane = 1e-9;
// A component whose least-squares weight, with the datum planes free, is below this fraction of
// the horizons' area is not seen by them: a unit of it would move them, in the mean, by less than
// a thousandth of a unit (strike-slip in layers that dip by less than a twentieth of a degree).
constexpr double unseen = 1e-6;
// Eigenvalues of the scaled normal equations below this fraction of the largest are null.
constexpr double null_eigen = 1e-10;

point to_point(const vec3& v) {
    return {v[0], v[1], v[2]};
}
point scaled(const point& a, double s) {
    return {a[0] * s, a[1] * s, a[2] * s};
}
double length(const point& a) {
    return std::sqrt(dot(a, a));
}

// The present-day horizon vertices inside the boundary, about its vertex mean.
struct samples {
    std::vector<point> at;
    std::vector<double> weight;
    std::vector<int> horizon;
};

// True when p lies inside the convex boundary (centred on its vertex mean, which is inside it),
// within tolerance.
bool inside(const block& boundary, const point& p, double tolerance) {
    for (const face& f : boundary.faces) {
        if (f.indices.size() < 3)
            continue;
        std::vector<xyz> corners;
        for (int k : f.indices)
            corners.push_back(to_point(boundary.vertices[k]));
        const xyz n = newell_normal(corners); // whatever the face's stored normal says
        const double nl = length(n);
        if (nl == 0.0)
            continue;
        const point q = to_point(boundary.vertices[f.indices[0]]);
        const double centre_side = -dot(q, n); // the centre is the origin
        const double side = dot(p, n) - dot(q, n);
        if (side * (centre_side < 0 ? -1.0 : 1.0) < -tolerance * nl)
            return false;
    }
    return true;
}

samples horizon_samples(const block& boundary, const std::vector<horizon>& horizons,
                        const vec3& centre, double size) {
    samples s;
    for (std::size_t h = 0; h < horizons.size(); ++h) {
        const horizon& hz = horizons[h];
        std::vector<double> weight(hz.vertices.size(), 0.0);
        for (const triangle& t : hz.triangles) {
            const point a = to_point(hz.vertices[t[0]]), b = to_point(hz.vertices[t[1]]),
                        c = to_point(hz.vertices[t[2]]);
            const double third = length(cross(minus(b, a), minus(c, a))) / 6.0;
            for (int k : t)
                weight[k] += third;
        }
        for (std::size_t v = 0; v < hz.vertices.size(); ++v) {
            const point p = to_point(hz.vertices[v] - centre);
            if (weight[v] <= 0.0 || !inside(boundary, p, on_plane * size))
                continue;
            s.at.push_back(p);
            s.weight.push_back(weight[v]);
            s.horizon.push_back(static_cast<int>(h));
        }
    }
    return s;
}

// Each fault's slip as along * e1 + across * e2: e1 along its slip direction as stored, e2 across
// it within the plane.
struct slip_basis {
    point e1, e2;
};

slip_basis basis_of(const fault& f) {
    const point n = to_point(f.normal);
    point e1 = to_point(f.slip_dir);
    if (length(e1) == 0.0)
        e1 = cross(n, std::abs(n[2]) < 0.9 ? point{0, 0, 1} : point{1, 0, 0});
    e1 = scaled(e1, 1.0 / length(e1));
    point e2 = cross(n, e1);
    if (length(e2) < 1e-12)
        e2 = cross(e1, std::abs(e1[2]) < 0.9 ? point{0, 0, 1} : point{1, 0, 0});
    return {e1, scaled(e2, 1.0 / length(e2))};
}

// The unknowns: two slip components per fault, then alpha, beta and c of each horizon's datum
// z = alpha x + beta y + c.
struct layout {
    std::size_t faults, horizons;
    std::size_t plane(std::size_t h) const { return 2 * faults + 3 * h; }
    std::size_t size() const { return 2 * faults + 3 * horizons; }
};

point slip_of(const std::vector<double>& x, const slip_basis& b, std::size_t f) {
    const double u = x[2 * f], v = x[2 * f + 1];
    return {u * b.e1[0] + v * b.e2[0], u * b.e1[1] + v * b.e2[1], u * b.e1[2] + v * b.e2[2]};
}

// Which faults' restoration moved each vertex: vertices moved by the same faults form a group.
struct assignment {
    std::vector<int> group; // per vertex; -1 for one on a fault plane, which is left out
    std::vector<int> group_horizon;
    std::vector<std::vector<int>> group_faults; // ascending positions
    std::vector<point> restored;                // per vertex
    bool same_as(const assignment& o) const {
        return group == o.group && group_faults == o.group_faults;
    }
};

struct model {
    block start;
    std::vector<fault> faults; // centred
    std::vector<slip_basis> basis;
    samples s;
    std::size_t horizon_count = 0;
    double size = 0.0;
};

// The margin about a fault plane within which vertices are left out: at least the on-plane
// tolerance, else the uncertainty rounded up to a power of two, so that small changes of it leave
// the assignment as it was; at most a twentieth of the model's size.
double margin_of(const model& m, double uncertain) {
    const double floor = on_plane * m.size;
    if (uncertain <= floor)
        return floor;
    return std::min(floor * std::exp2(std::ceil(std::log2(uncertain / floor))), 0.05 * m.size);
}

// How far from a fault's plane a vertex may lie on the other side than it seems: the slips of
// the younger faults are uncertain by up to `slips` (per component), which shifts a vertex
// against the plane only through the faults that moved one of the two but not the other, and
// the elevations are uncertain by up to `noise`. The vertices marked unsettled are left out
// whatever the slips.
struct uncertainty {
    std::vector<double> slips;
    double noise = 0.0;
    std::vector<char> unsettled; // per vertex
};

// Restores the vertices with the slips of x, youngest fault first. The planes are where the
// kernel has them when each fault's pass begins: their points move with the blocks of younger
// faults' passes. A vertex whose side of a plane the uncertainty leaves open is left out: the
// youngest fault's plane sees the vertices as they are, an older one's only once the younger
// slips are known, so the fit settles from the youngest fault down.
assignment restore(const model& m, const std::vector<double>& x, const uncertainty& u,
                   const std::function<void()>& poll) {
    const std::size_t n = m.faults.size();
    std::vector<fault> faults = m.faults;
    std::vector<point> slip(n);
    for (std::size_t f = 0; f < n; ++f) {
        slip[f] = slip_of(x, m.basis[f], f);
        faults[f].slip_dir = make_vec3(slip[f][0], slip[f][1], slip[f][2]);
        faults[f].slip_mag = 1.0;
    }
    // Where each fault's point is when each pass begins, and whether the pass carries it: a point
    // on the side the normal points to moves with the slip.
    std::vector<point> at(n);
    for (std::size_t f = 0; f < n; ++f)
        at[f] = to_point(faults[f].point);
    std::vector<point> pass_point(n);
    std::vector<std::vector<char>> carried(n); // [fault][younger fault's pass]
    const auto sort_points = [&](std::size_t k) {
        pass_point[k] = at[k];
        const point normal = to_point(m.faults[k].normal);
        const double tolerance = on_plane * m.size * length(normal);
        for (std::size_t q = k + 1; q < n; ++q)
            carried[q].push_back(dot(minus(at[q], at[k]), normal) >= -tolerance);
    };
    if (n > 0) {
        sort_points(0);
        point_list no_tracers;
        // The kernel moves the fault points in place after each pass, before it reports it.
        cut_points({m.start}, faults, no_tracers, [&](std::size_t k, std::size_t) {
            if (k + 1 < n) {
                for (std::size_t q = k + 1; q < n; ++q)
                    at[q] = to_point(faults[q].point);
                sort_points(k + 1);
            }
            if (poll)
                poll();
        });
    }
    assignment a;
    a.restored = m.s.at;
    a.group.assign(m.s.horizon.begin(), m.s.horizon.end());
    for (std::size_t i = 0; i < a.group.size(); ++i)
        if (u.unsettled[i])
            a.group[i] = -1;
    for (std::size_t h = 0; h < m.horizon_count; ++h) {
        a.group_horizon.push_back(static_cast<int>(h));
        a.group_faults.emplace_back();
    }
    for (std::size_t k = 0; k < n; ++k) {
        const point normal = to_point(m.faults[k].normal);
        const point unit = scaled(normal, 1.0 / length(normal));
        // How far each younger fault's uncertain slip may shift a vertex across this plane.
        std::vector<double> shift(k);
        for (std::size_t j = 0; j < k; ++j)
            shift[j] = u.slips[2 * j] * std::abs(dot(m.basis[j].e1, unit)) +
                       u.slips[2 * j + 1] * std::abs(dot(m.basis[j].e2, unit));
        std::vector<double> tolerance;
        for (const std::vector<int>& moved_by : a.group_faults) {
            double band = u.noise;
            for (std::size_t j = 0; j < k; ++j) {
                const bool moved =
                    std::binary_search(moved_by.begin(), moved_by.end(), static_cast<int>(j));
                if (moved != static_cast<bool>(carried[k][j]))
                    band += shift[j];
            }
            tolerance.push_back(margin_of(m, band) * length(normal));
        }
        std::vector<int> renumber(2 * a.group_horizon.size(), -1);
        std::vector<int> horizons;
        std::vector<std::vector<int>> moved_by;
        for (std::size_t i = 0; i < a.group.size(); ++i) {
            int& g = a.group[i];
            if (g < 0)
                continue;
            point& p = a.restored[i];
            const double d = dot(minus(p, pass_point[k]), normal);
            if (std::abs(d) <= tolerance[g]) {
                g = -1;
                continue;
            }
            const bool moved = d > 0;
            if (moved)
                for (int c = 0; c < 3; ++c)
                    p[c] += slip[k][c];
            int& to = renumber[2 * g + (moved ? 1 : 0)];
            if (to < 0) {
                to = static_cast<int>(horizons.size());
                horizons.push_back(a.group_horizon[g]);
                moved_by.push_back(a.group_faults[g]);
                if (moved)
                    moved_by.back().push_back(static_cast<int>(k));
            }
            g = to;
        }
        a.group_horizon = std::move(horizons);
        a.group_faults = std::move(moved_by);
    }
    return a;
}

// True when vertex i is left out of both assignments or moved by the same faults in both.
bool same_side(const assignment& a, const assignment& b, std::size_t i) {
    if (a.group[i] < 0 || b.group[i] < 0)
        return a.group[i] == b.group[i];
    return a.group_faults[a.group[i]] == b.group_faults[b.group[i]];
}

// Marks the vertices whose side the assignments of a cycle do not agree on.
void unsettle(const std::vector<assignment>& cycle, std::vector<char>& unsettled) {
    for (std::size_t i = 0; i < unsettled.size(); ++i)
        for (const assignment& other : cycle)
            if (!same_side(cycle.front(), other, i))
                unsettled[i] = 1;
}

// The weighted moments of each group: by the vertices' weights, their squares and by count.
struct group_moments {
    std::vector<moments> w, w2, one;
};

group_moments moments_of(const model& m, const assignment& a) {
    const std::size_t groups = a.group_horizon.size();
    group_moments g{std::vector<moments>(groups), std::vector<moments>(groups),
                    std::vector<moments>(groups)};
    for (std::size_t i = 0; i < a.group.size(); ++i) {
        if (a.group[i] < 0)
            continue;
        const point& p = m.s.at[i];
        const std::array<double, 4> phi{p[0], p[1], p[2], 1.0};
        const double w = m.s.weight[i];
        moments &mw = g.w[a.group[i]], &mw2 = g.w2[a.group[i]], &m1 = g.one[a.group[i]];
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                const double pp = phi[r] * phi[c];
                mw[4 * r + c] += w * pp;
                mw2[4 * r + c] += w * w * pp;
                m1[4 * r + c] += pp;
            }
    }
    return g;
}

using row = std::array<double, 4>;

double form(const row& a, const moments& m, const row& b) {
    double s = 0.0;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            s += a[r] * m[4 * r + c] * b[c];
    return s;
}

// The residual of a group's vertex phi is coefficients(...) . phi: the restored elevation less the
// datum's there.
struct group_terms {
    row residual;
    std::vector<std::size_t> index; // the unknowns the group's residuals depend on
    std::vector<row> jacobian;      // d residual / d unknown, as rows applied to phi
};

group_terms terms_of(const model& m, const layout& l, const std::vector<double>& x,
                     const assignment& a, std::size_t g) {
    const std::size_t h = static_cast<std::size_t>(a.group_horizon[g]);
    const double alpha = x[l.plane(h)], beta = x[l.plane(h) + 1], c = x[l.plane(h) + 2];
    const point t{-alpha, -beta, 1.0};
    point d{0, 0, 0};
    group_terms terms;
    for (int f : a.group_faults[g]) {
        const point s = slip_of(x, m.basis[f], f);
        for (int k = 0; k < 3; ++k)
            d[k] += s[k];
        terms.index.push_back(2 * f);
        terms.jacobian.push_back({0, 0, 0, dot(t, m.basis[f].e1)});
        terms.index.push_back(2 * f + 1);
        terms.jacobian.push_back({0, 0, 0, dot(t, m.basis[f].e2)});
    }
    terms.residual = {-alpha, -beta, 1.0, dot(t, d) - c};
    for (std::size_t k = 0; k < 3; ++k)
        terms.index.push_back(l.plane(h) + k);
    terms.jacobian.push_back({-1, 0, 0, -d[0]});
    terms.jacobian.push_back({0, -1, 0, -d[1]});
    terms.jacobian.push_back({0, 0, 0, -1});
    return terms;
}

// The weighted sum of squared residuals.
double objective(const model& m, const layout& l, const std::vector<double>& x, const assignment& a,
                 const group_moments& gm) {
    double sum = 0.0;
    for (std::size_t g = 0; g < gm.w.size(); ++g) {
        const row r = terms_of(m, l, x, a, g).residual;
        sum += form(r, gm.w[g], r);
    }
    return sum;
}

// The normal equations of the linearised problem at x.
struct normal_equations {
    square_matrix n, meat; // J^T W J and J^T W^2 J
    std::vector<double> gradient;
    double rss = 0.0, count = 0.0, area = 0.0;
};

normal_equations normal_of(const model& m, const layout& l, const std::vector<double>& x,
                           const assignment& a, const group_moments& gm) {
    const std::size_t p = l.size();
    normal_equations e{square_matrix(p), square_matrix(p), std::vector<double>(p, 0.0)};
    for (std::size_t g = 0; g < gm.w.size(); ++g) {
        const group_terms t = terms_of(m, l, x, a, g);
        for (std::size_t i = 0; i < t.index.size(); ++i) {
            e.gradient[t.index[i]] += form(t.jacobian[i], gm.w[g], t.residual);
            for (std::size_t j = 0; j < t.index.size(); ++j) {
                e.n(t.index[i], t.index[j]) += form(t.jacobian[i], gm.w[g], t.jacobian[j]);
                e.meat(t.index[i], t.index[j]) += form(t.jacobian[i], gm.w2[g], t.jacobian[j]);
            }
        }
        e.rss += form(t.residual, gm.one[g], t.residual);
        e.count += gm.one[g][15];
        e.area += gm.w[g][15];
    }
    return e;
}

// The normal equations on the active unknowns, scaled to unit diagonal, and their eigenpairs.
struct scaled_system {
    std::vector<std::size_t> active;
    std::vector<double> scale; // sqrt of the diagonal
    eigen_pairs eigen;
    double largest = 0.0;
    bool null(std::size_t k) const { return eigen.values[k] <= null_eigen * largest; }
};

scaled_system scaled_of(const square_matrix& n, const std::vector<std::size_t>& active) {
    scaled_system s{active, {}, eigen_pairs{{}, square_matrix(0)}, 0.0};
    square_matrix a(active.size());
    for (std::size_t i : active)
        s.scale.push_back(std::sqrt(n(i, i)));
    for (std::size_t i = 0; i < active.size(); ++i)
        for (std::size_t j = 0; j < active.size(); ++j)
            a(i, j) = n(active[i], active[j]) / (s.scale[i] * s.scale[j]);
    s.eigen = symmetric_eigen(std::move(a));
    for (double v : s.eigen.values)
        s.largest = std::max(s.largest, v);
    return s;
}

// The damped minimum-norm step: the null directions are left alone.
std::vector<double> step_of(const scaled_system& s, const std::vector<double>& gradient,
                            double damping, std::size_t size) {
    const std::size_t k = s.active.size();
    std::vector<double> g(k), step(size, 0.0);
    for (std::size_t i = 0; i < k; ++i)
        g[i] = gradient[s.active[i]] / s.scale[i];
    for (std::size_t e = 0; e < k; ++e) {
        if (s.null(e))
            continue;
        double along = 0.0;
        for (std::size_t i = 0; i < k; ++i)
            along += s.eigen.vectors(i, e) * g[i];
        const double f = -along / (s.eigen.values[e] + damping * s.largest);
        for (std::size_t i = 0; i < k; ++i)
            step[s.active[i]] += f * s.eigen.vectors(i, e) / s.scale[i];
    }
    return step;
}

// The unknowns free in this fit: the slip components asked for and seen by the horizons (with
// the datum planes free), and the datum planes' own.
struct freedom {
    std::vector<bool> slip_asked; // per slip component
    std::vector<int> plane_free;  // per horizon: how many of alpha, beta, c (3, 1 or 0)
};

std::vector<std::size_t> plane_unknowns(const layout& l, const freedom& fr,
                                        const normal_equations& e) {
    std::vector<std::size_t> active;
    for (std::size_t h = 0; h < l.horizons; ++h)
        for (int k = 3 - fr.plane_free[h]; k < 3; ++k)
            if (e.n(l.plane(h) + k, l.plane(h) + k) > 0.0)
                active.push_back(l.plane(h) + k);
    return active;
}

// The slip components the horizons see: what is left of each one's weight once the datum planes
// have taken what they can. Worked out on the equations scaled to unit diagonal, where the
// slopes' columns (of sizes near the model's squared) and the offsets' meet as equals.
std::vector<std::size_t> seen_slips(const layout& l, const freedom& fr, const normal_equations& e) {
    std::vector<std::size_t> seen;
    const std::vector<std::size_t> planes = plane_unknowns(l, fr, e);
    const auto scaled = [&](std::size_t i, std::size_t j) {
        return e.n(i, j) / std::sqrt(e.n(i, i) * e.n(j, j));
    };
    std::vector<std::vector<std::size_t>> own(l.horizons);
    std::vector<square_matrix> inverse;
    for (std::size_t h = 0; h < l.horizons; ++h) {
        for (std::size_t p : planes)
            if (p >= l.plane(h) && p < l.plane(h) + 3)
                own[h].push_back(p);
        square_matrix c(own[h].size());
        for (std::size_t i = 0; i < own[h].size(); ++i)
            for (std::size_t j = 0; j < own[h].size(); ++j)
                c(i, j) = scaled(own[h][i], own[h][j]);
        inverse.push_back(pseudo_inverse(c, 1e-12));
    }
    for (std::size_t k = 0; k < 2 * l.faults; ++k) {
        if (!fr.slip_asked[k] || e.n(k, k) <= 0.0)
            continue;
        double left = 1.0;
        for (std::size_t h = 0; h < l.horizons; ++h)
            for (std::size_t i = 0; i < own[h].size(); ++i)
                for (std::size_t j = 0; j < own[h].size(); ++j)
                    left -= scaled(k, own[h][i]) * inverse[h](i, j) * scaled(own[h][j], k);
        if (left * e.n(k, k) > unseen * e.area)
            seen.push_back(k);
    }
    return seen;
}

double largest_step(const std::vector<double>& step, const layout& l, double size) {
    double most = 0.0;
    for (std::size_t k = 0; k < step.size(); ++k) {
        const bool slope = k >= 2 * l.faults && (k - 2 * l.faults) % 3 < 2;
        most = std::max(most, std::abs(step[k]) / (slope ? 1.0 : size));
    }
    return most;
}

// Levenberg-Marquardt on the fixed assignment, from x, over the given unknowns.
std::vector<double> solve_fixed(const model& m, const layout& l, std::vector<double> x,
                                const assignment& a, const std::vector<std::size_t>& active) {
    const group_moments gm = moments_of(m, a);
    double damping = 1e-3;
    double now = objective(m, l, x, a, gm);
    for (int iteration = 0; iteration < 50; ++iteration) {
        const normal_equations e = normal_of(m, l, x, a, gm);
        const scaled_system s = scaled_of(e.n, active);
        bool taken = false;
        std::vector<double> step;
        while (damping < 1e12) {
            step = step_of(s, e.gradient, damping, l.size());
            std::vector<double> trial = x;
            for (std::size_t k = 0; k < x.size(); ++k)
                trial[k] += step[k];
            const double after = objective(m, l, trial, a, gm);
            if (after <= now) {
                x = std::move(trial);
                now = after;
                damping = std::max(damping / 10.0, 1e-12);
                taken = true;
                break;
            }
            damping *= 10.0;
        }
        if (!taken || largest_step(step, l, m.size) <= 1e-13)
            break;
    }
    return x;
}

// The scatter of the residuals, from their median size so that the few vertices on the wrong
// side of a fault plane, whose residuals are a slip in size, leave it alone: for errors of the
// elevations alone, their standard deviation.
double robust_scatter(const model& m, const layout& l, const std::vector<double>& x,
                      const assignment& a) {
    std::vector<row> residual;
    for (std::size_t g = 0; g < a.group_horizon.size(); ++g)
        residual.push_back(terms_of(m, l, x, a, g).residual);
    std::vector<double> size;
    for (std::size_t i = 0; i < a.group.size(); ++i) {
        if (a.group[i] < 0)
            continue;
        const row& r = residual[a.group[i]];
        const point& p = m.s.at[i];
        size.push_back(std::abs(r[0] * p[0] + r[1] * p[1] + r[2] * p[2] + r[3]));
    }
    if (size.empty())
        return 0.0;
    const auto middle = size.begin() + static_cast<std::ptrdiff_t>(size.size() / 2);
    std::nth_element(size.begin(), middle, size.end());
    return *middle / 0.6745; // the median absolute deviation of a normal distribution
}

// The active unknowns: seen slip components, with the datum planes.
std::vector<std::size_t> active_of(const layout& l, const freedom& fr, const normal_equations& e,
                                   bool slips) {
    std::vector<std::size_t> active;
    if (slips)
        active = seen_slips(l, fr, e);
    const std::vector<std::size_t> planes = plane_unknowns(l, fr, e);
    active.insert(active.end(), planes.begin(), planes.end());
    return active;
}

// Each horizon's distances from its datum: the area-weighted root mean square and the largest,
// at right angles to the datum.
void measure(const model& m, const layout& l, const std::vector<double>& x, const assignment& a,
             std::vector<horizon_fit>& table, bool after) {
    std::vector<double> sum(l.horizons, 0.0), area(l.horizons, 0.0), most(l.horizons, 0.0);
    std::vector<std::size_t> used(l.horizons, 0);
    for (std::size_t i = 0; i < a.group.size(); ++i) {
        if (a.group[i] < 0)
            continue;
        const std::size_t h = static_cast<std::size_t>(m.s.horizon[i]);
        const double alpha = x[l.plane(h)], beta = x[l.plane(h) + 1], c = x[l.plane(h) + 2];
        const point& p = a.restored[i];
        const double d =
            (p[2] - alpha * p[0] - beta * p[1] - c) / std::sqrt(1.0 + alpha * alpha + beta * beta);
        sum[h] += m.s.weight[i] * d * d;
        area[h] += m.s.weight[i];
        most[h] = std::max(most[h], std::abs(d));
        ++used[h];
    }
    for (std::size_t h = 0; h < l.horizons; ++h) {
        const double rms = area[h] > 0 ? std::sqrt(sum[h] / area[h]) : 0.0;
        (after ? table[h].rms_after : table[h].rms_before) = rms;
        (after ? table[h].largest_after : table[h].largest_before) = most[h];
        table[h].vertices = used[h];
    }
}

double degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

// The fitted fault: its slip from the components, the slip angles redone when its direction
// changed.
fault fitted_fault(fault f, const slip_basis& b, double along, double across, bool rake) {
    if (!rake) {
        const double scale = norm_2(f.slip_dir);
        if (scale > 0)
            f.slip_mag = along / scale;
        return f;
    }
    const point d{along * b.e1[0] + across * b.e2[0], along * b.e1[1] + across * b.e2[1],
                  along * b.e1[2] + across * b.e2[2]};
    const double mag = length(d);
    if (mag == 0.0) {
        f.slip_mag = 0.0;
        return f;
    }
    f.slip_dir = make_vec3(d[0] / mag, d[1] / mag, d[2] / mag);
    f.slip_mag = mag;
    // The file gives the direction of the forward run, the reverse of the stored one.
    double azimuth = degrees(std::atan2(-f.slip_dir[0], -f.slip_dir[1]));
    if (azimuth < 0)
        azimuth += 360.0;
    f.slip_angles = {azimuth, degrees(std::asin(std::clamp(f.slip_dir[2], -1.0, 1.0)))};
    return f;
}

model model_of(const block& boundary, const std::vector<fault>& faults,
               const std::vector<horizon>& horizons) {
    if (boundary.vertices.empty())
        throw fit_error("The boundary has no vertices, so there is no model to restore.");
    if (horizons.empty())
        throw fit_error("No horizons were given: the fit needs the present-day horizons.");
    model m;
    const vec3 centre = centroid(boundary.vertices);
    block centred = boundary;
    point low{1e300, 1e300, 1e300}, high{-1e300, -1e300, -1e300};
    for (vec3& v : centred.vertices) {
        v -= centre;
        for (int k = 0; k < 3; ++k) {
            low[k] = std::min(low[k], v[k]);
            high[k] = std::max(high[k], v[k]);
        }
    }
    m.size = std::hypot(high[0] - low[0], high[1] - low[1], high[2] - low[2]);
    centred.fault_indices.clear();
    centred.tracer_indices.clear();
    m.faults = faults;
    for (fault& f : m.faults) {
        f.point -= centre;
        m.basis.push_back(basis_of(f));
    }
    m.start = start_block(centred, faults.size(), 0);
    m.horizon_count = horizons.size();
    m.s = horizon_samples(centred, horizons, centre, m.size);
    if (m.s.at.empty())
        throw fit_error("None of the horizons lies inside the boundary.");
    return m;
}

// Each horizon's datum: its unknowns and, for a given elevation, its place.
freedom freedom_of(const model& m, const layout& l, const std::vector<horizon>& horizons,
                   const fit_options& o, double centre_z, std::vector<double>& x) {
    for (const auto& elevation : o.elevations) {
        const std::string& name = elevation.first;
        if (std::none_of(horizons.begin(), horizons.end(),
                         [&](const horizon& h) { return h.name == name; }))
            throw fit_error("The datum names horizon \"" + name +
                            "\", which is not among the horizons.");
    }
    freedom fr;
    for (std::size_t f = 0; f < l.faults; ++f) {
        fr.slip_asked.push_back(true);
        fr.slip_asked.push_back(o.fit_rake);
    }
    std::vector<double> area(l.horizons, 0.0), z(l.horizons, 0.0);
    for (std::size_t i = 0; i < m.s.at.size(); ++i) {
        area[m.s.horizon[i]] += m.s.weight[i];
        z[m.s.horizon[i]] += m.s.weight[i] * m.s.at[i][2];
    }
    for (std::size_t h = 0; h < l.horizons; ++h) {
        x[l.plane(h) + 2] = area[h] > 0 ? z[h] / area[h] : 0.0;
        int free = o.datum == datum_kind::regional ? 3 : 1;
        if (o.datum == datum_kind::given) {
            const auto given = o.elevations.find(horizons[h].name);
            if (given != o.elevations.end()) {
                free = 0;
                x[l.plane(h) + 2] = given->second - centre_z;
            }
        }
        fr.plane_free.push_back(free);
    }
    return fr;
}

} // namespace

const char* fit_state_word(fit_state state) {
    switch (state) {
    case fit_state::fitted:
        return "fitted";
    case fit_state::unconstrained:
        return "unconstrained";
    case fit_state::singular:
        return "singular";
    case fit_state::held:
        break;
    }
    return "held";
}

fit_result fit_slips(const block& boundary, const std::vector<fault>& faults,
                     const std::vector<horizon>& horizons, const fit_options& options,
                     const fit_progress& progress) {
    const model m = model_of(boundary, faults, horizons);
    const layout l{faults.size(), horizons.size()};
    std::vector<double> given(l.size(), 0.0);
    for (std::size_t f = 0; f < faults.size(); ++f)
        given[2 * f] = faults[f].slip_mag * norm_2(faults[f].slip_dir);
    const freedom fr = freedom_of(m, l, horizons, options, centroid(boundary.vertices)[2], given);

    fit_result result;
    result.horizon_table.resize(l.horizons);
    const std::size_t bound = options.max_iterations + 1;
    const std::function<void()> poll = [&] {
        if (progress)
            progress(result.restorations, bound);
    };
    const auto restored = [&](const std::vector<double>& x, const uncertainty& u) {
        assignment a = restore(m, x, u, poll);
        ++result.restorations;
        poll();
        return a;
    };

    // The misfit before: the given slips, each horizon against its own best datum.
    uncertainty u{std::vector<double>(2 * l.faults, 0.0), 0.0, std::vector<char>(m.s.at.size(), 0)};
    assignment a = restored(given, u);
    std::vector<double> x = given;
    {
        const normal_equations e = normal_of(m, l, x, a, moments_of(m, a));
        x = solve_fixed(m, l, x, a, active_of(l, fr, e, false));
        measure(m, l, x, a, result.horizon_table, false);
    }
    std::vector<std::size_t> active;
    // The assignments since the last cycle, without their restored positions. Where the iteration
    // comes back to one of them, the vertices whose side changes along the cycle are left out for
    // good: what the slips' errors and the elevations' scatter leave open about their side
    // reaches further than the bands say.
    std::vector<assignment> earlier;
    for (;;) {
        const normal_equations e = normal_of(m, l, x, a, moments_of(m, a));
        // A component the horizons do not see now, as the vertices near the planes are left out,
        // keeps its value and its uncertainty; one they never see is set back to its given value
        // at the end.
        active = active_of(l, fr, e, true);
        const std::vector<double> before = x;
        x = solve_fixed(m, l, x, a, active);
        ++result.iterations;
        for (std::size_t k : active)
            if (k < 2 * l.faults)
                u.slips[k] = std::abs(x[k] - before[k]);
        u.noise = 3.0 * robust_scatter(m, l, x, a);
        assignment next = restored(x, u);
        earlier.push_back(a);
        earlier.back().restored.clear();
        const auto back = std::find_if(earlier.begin(), earlier.end(),
                                       [&](const assignment& o) { return next.same_as(o); });
        if (back != earlier.end() && back + 1 != earlier.end()) {
            unsettle({back, earlier.end()}, u.unsettled);
            earlier.clear();
            next = restored(x, u);
        }
        const bool same = next.same_as(a);
        a = std::move(next);
        if (same) {
            result.converged = true;
            result.stop_reason = "the horizons' assignment to the faults stopped changing";
            break;
        }
        if (result.iterations >= options.max_iterations) {
            result.stop_reason = "no convergence within " + std::to_string(options.max_iterations) +
                                 " iterations: the horizons' assignment to the faults still "
                                 "changes";
            break;
        }
    }
    measure(m, l, x, a, result.horizon_table, true);

    // The statistics of the final linearisation: the sandwich covariance, scaled by the variance
    // of a vertex's residual.
    const normal_equations e = normal_of(m, l, x, a, moments_of(m, a));
    active = active_of(l, fr, e, true);
    const scaled_system s = scaled_of(e.n, active);
    const std::size_t k = active.size();
    for (std::size_t c = 0; c < 2 * l.faults; ++c)
        if (std::find(active.begin(), active.end(), c) == active.end())
            x[c] = given[c];
    std::vector<bool> singular(l.size(), false);
    std::size_t rank = 0;
    square_matrix inverse(k);
    for (std::size_t v = 0; v < k; ++v) {
        if (s.null(v)) {
            for (std::size_t i = 0; i < k; ++i)
                if (std::abs(s.eigen.vectors(i, v)) > 0.1)
                    singular[active[i]] = true;
            continue;
        }
        ++rank;
        for (std::size_t i = 0; i < k; ++i)
            for (std::size_t j = 0; j < k; ++j)
                inverse(i, j) += s.eigen.vectors(i, v) * s.eigen.vectors(j, v) /
                                 (s.eigen.values[v] * s.scale[i] * s.scale[j]);
    }
    const double variance = e.rss / std::max(e.count - static_cast<double>(rank), 1.0);
    square_matrix half(k); // inverse * meat
    for (std::size_t i = 0; i < k; ++i)
        for (std::size_t j = 0; j < k; ++j)
            for (std::size_t q = 0; q < k; ++q)
                half(i, j) += inverse(i, q) * e.meat(active[q], active[j]);
    const std::size_t slips = 2 * l.faults;
    result.covariance.assign(slips * slips, nan);
    for (std::size_t i = 0; i < k; ++i)
        for (std::size_t j = 0; j < k; ++j) {
            if (active[i] >= slips || active[j] >= slips)
                continue;
            double c = 0.0;
            for (std::size_t q = 0; q < k; ++q)
                c += half(i, q) * inverse(q, j);
            result.covariance[active[i] * slips + active[j]] = variance * c;
        }

    std::vector<std::string> singular_labels;
    for (std::size_t f = 0; f < l.faults; ++f) {
        fault_fit row;
        const auto state = [&](std::size_t c) {
            if (!fr.slip_asked[c])
                return fit_state::held;
            if (std::find(active.begin(), active.end(), c) == active.end())
                return fit_state::unconstrained;
            return singular[c] ? fit_state::singular : fit_state::fitted;
        };
        const auto error = [&](std::size_t c) {
            // An exact fit leaves a variance of rounding noise, either side of zero.
            return state(c) == fit_state::fitted
                       ? std::sqrt(std::max(result.covariance[c * slips + c], 0.0))
                       : nan;
        };
        row.along = x[2 * f];
        row.across = x[2 * f + 1];
        row.along_state = state(2 * f);
        row.across_state = state(2 * f + 1);
        row.along_error = error(2 * f);
        row.across_error = error(2 * f + 1);
        const std::string label = fault_label(faults[f]);
        if (row.along_state == fit_state::unconstrained)
            result.notes.push_back(label + ": no horizon constrains its slip along its slip "
                                           "direction; kept as given");
        if (row.across_state == fit_state::unconstrained)
            result.notes.push_back(label + ": no horizon constrains its slip across its slip "
                                           "direction within its plane; kept as given");
        if (row.along_state == fit_state::singular || row.across_state == fit_state::singular)
            singular_labels.push_back(label);
        result.faults.push_back(
            fitted_fault(faults[f], m.basis[f], row.along, row.across, options.fit_rake));
        result.fault_table.push_back(row);
    }
    if (!singular_labels.empty()) {
        std::string text = "singular system: the horizons see the slips of ";
        for (std::size_t i = 0; i < singular_labels.size(); ++i)
            text += (i == 0                            ? ""
                     : i + 1 == singular_labels.size() ? " and "
                                                       : ", ") +
                    singular_labels[i];
        result.notes.push_back(text + " only together; the minimum-norm step was used");
    }
    return result;
}

} // namespace tolvex
