#!/usr/bin/python3
# Reference values for TestFit.cpp, made once with SciPy (Debian's python3-scipy 1.10) and kept
# in the test: MINPACK's Levenberg-Marquardt (scipy.optimize.least_squares, method "lm") from the
# same linearised start, covariance by numpy.linalg.inv(J^T J), Student's t from scipy.stats.
# Nothing here is shared with the program's own solver. Run: python3 FitReference.py
import numpy as np
from scipy.optimize import least_squares
from scipy.stats import t as student

T = np.arange(10.0)


def curve(model, p, t=T):
    if model == "exponential":
        A, r = p
        return A * np.exp(r * t)
    if model == "saturation":
        A, k, S = p
        return S - (S - A) * np.exp(-k * t)
    A, r, S = p
    return S / (1 + (S / A - 1) * np.exp(-r * t))


def jacobian(model, p, accurate=False):
    """accurate: 1 - e^(-rt) by expm1, so a column that vanishes with the rate stays exact."""
    if model == "exponential":
        A, r = p
        e = np.exp(r * T)
        return np.column_stack([e, A * T * e])
    if model == "saturation":
        A, k, S = p
        e = np.exp(-k * T)
        return np.column_stack([e, (S - A) * T * e, -np.expm1(-k * T) if accurate else 1 - e])
    A, r, S = p
    e = np.exp(-r * T)
    B = S / A - 1
    D = 1 + B * e
    one_less = -np.expm1(-r * T) if accurate else 1 - e
    return np.column_stack([S * S * e / (A * A * D * D), S * B * T * e / (D * D), one_less / (D * D)])


def start(model, y):
    if model == "exponential":
        m = y > 0
        b, a = np.polyfit(T[m], np.log(y[m]), 1)
        return [np.exp(a), b]
    S0 = 1.05 * y.max()
    if model == "saturation":
        b, a = np.polyfit(T, np.log(S0 - y), 1)
        return [S0 - np.exp(a), -b, S0]
    m = y > 0
    b, a = np.polyfit(T[m], np.log(y[m] / (S0 - y[m])), 1)
    return [S0 / (1 + np.exp(-a)), b, S0]


def fit(model, y):
    res = least_squares(lambda p: curve(model, p) - y, start(model, y),
                        jac=lambda p: jacobian(model, p), method="lm",
                        xtol=1e-15, ftol=1e-15, gtol=1e-15, max_nfev=100000)
    p = res.x
    q = len(p)
    r = curve(model, p) - y
    rss = float(r @ r)
    J = jacobian(model, p)
    # Conditioning of J^T J with each column of J scaled to unit length.
    Ja = jacobian(model, p, accurate=True)
    norms = np.linalg.norm(Ja, axis=0)
    sv = np.linalg.svd(Ja / np.where(norms > 0, norms, 1), compute_uv=False)
    out = {"p": p, "rss": rss}
    if model != "exponential" and not 0 < p[2] <= 10 * y.max():
        out["status"] = "no saturation"
    elif not (norms > 0).all() or not (sv[-1] > 0) or (sv[0] / sv[-1]) ** 2 > 1e14:
        out["status"] = "singular"
    else:
        out["se"] = np.sqrt(np.diag(rss / (10 - q) * np.linalg.inv(J.T @ J)))
        out["t"] = student.ppf(0.975, 10 - q)
        # Exact only at rounding level.
        if rss <= (64 * np.finfo(float).eps) ** 2 * float(y @ y):
            out["status"] = "exact"
        else:
            out["status"] = "ok"
            n, k = 10, q + 1
            out["aicc"] = n * np.log(rss / n) + 2 * k + 2 * k * (k + 1) / (n - k - 1)
    return out


SETS = {
    "variant 1, population 1": [8, 504, 752, 876, 938, 969, 984, 992, 996, 997],
    "variant 1, population 2": [16, 24, 36, 54, 81, 122, 183, 275, 412, 618],
    "variant 5, population 1": [8, 603, 841, 934, 973, 989, 995, 998, 939, 999],
    "variant 5, population 2": [10, 16, 25, 40, 64, 102, 163, 260, 416, 665],
    "US census 1790-1880": [3929214, 5308483, 7239881, 9638453, 12866020, 17069453, 23191876,
                            31443321, 38558371, 50189209],
    "exact exponential": [3, 6, 12, 24, 48, 96, 192, 384, 768, 1536],
    "all equal": [500] * 10,
    "zeros and negatives": [0, 3, 0, -2, 8, 15, 0, 40, 90, 160],
    "6.6 times a month": [3, 20, 131, 862, 5692, 37569, 247955, 1636502, 10800914, 71286030],
    "exact 10^t": [10 ** i for i in range(10)],
    "sigmoid from zeros": [0, 0, 0, 0, 0, 0, 2, 40, 90, 100],
    "1.5^t million with noise": [999960, 1500040, 2249960, 3375040, 5062460, 7593790, 11390585,
                                 17085917, 25628866, 38443399],
}

if __name__ == "__main__":
    for name, counts in SETS.items():
        y = np.array(counts, float)
        print(name)
        fits = {m: fit(m, y) for m in ("exponential", "saturation", "logistic")}
        aicc = {m: f["aicc"] for m, f in fits.items() if "aicc" in f}
        best = min(aicc.values()) if aicc else 0
        total = sum(np.exp(-(a - best) / 2) for a in aicc.values())
        for m, f in fits.items():
            print(f"  {m}: {f['status']}")
            print("    parameters", ", ".join(repr(v) for v in f["p"]), " rss", repr(f["rss"]))
            if "se" in f:
                print("    se", ", ".join(repr(v) for v in f["se"]), " t", repr(f["t"]))
            if "aicc" in f:
                print("    aicc", repr(f["aicc"]),
                      " weight", repr(np.exp(-(f["aicc"] - best) / 2) / total))
