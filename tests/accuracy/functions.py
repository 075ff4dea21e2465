"""True values and input regions for the accuracy checker.

An argument is a pair (re, im) of decimal strings (None for an absent part).
Its value is what the engine reads: each part rounded to the nearest 80-bit
value (64-bit significand); a complex literal (a+bi) is exactly a + bi.
True values are computed with mpmath at high precision on those values.
"""
import math
import re

from mpmath import mp, mpc, mpf

DIV0 = "Floating point division by zero"
INVALID = "Invalid floating point operation"
OVERFLOW = "Floating point overflow"
INT_DIV0 = "Division by zero"
MESSAGES = (DIV0, INVALID, OVERFLOW, INT_DIV0)


class EngineError(Exception):
    """The run is expected to end with this message instead of a value."""


def fail(message):
    raise EngineError(message)


# ---------------------------------------------------------------- arguments

def text(arg):
    re_, im = arg
    if im is None:
        return re_
    if re_ is None:
        return im + "i"
    return "(%s%s%si)" % (re_, "" if im.startswith("-") else "+", im)


def value(arg):
    """The 80-bit value of a literal: each part rounded to 64 bits."""
    with mp.workprec(64):
        return mpc(*(mpf(s) if s else mpf(0) for s in arg))


def complex_pattern(number):
    """Regexes for 'a', 'bi' and 'a+bi' / 'a-bi' with unsigned numbers `number`."""
    signed = "(-?%s)" % number
    return [re.compile(signed), re.compile(signed + "i"),
            re.compile("%s([+-]%s)i" % (signed, number))]


def split_complex(patterns, s):
    """(re, im) decimal strings (None for an absent part), or None."""
    for shape, pattern in zip(("re", "im", "both"), patterns):
        m = pattern.fullmatch(s)
        if m:
            if shape == "re":
                return m.group(1), None
            if shape == "im":
                return None, m.group(1)
            return m.group(1), m.group(2).lstrip("+")
    return None


LITERAL = complex_pattern(r"\d+(?:\.\d*)?(?:e-?\d+)?")


def parse_literal(s):
    """'1e-20i', '-4+1e-10i', '(0.6+0.8i)' or '2.5' -> (re, im)."""
    parts = split_complex(LITERAL, s.strip("()"))
    if not parts:
        raise ValueError("not a literal: " + s)
    return parts


# ---------------------------------------------------------------- true values

def is_whole(z):
    return z.imag == 0 and z.real == mp.floor(z.real)


def ln(z):
    return mp.log(z) if z != 0 else fail(DIV0)  # arg of a negative real is +pi


def power(z, w):
    return mpc(0) if z == 0 else mp.exp(w * mp.log(z))  # 0^w = 0 for every w


def fact(z):
    if is_whole(z) and z.real <= -1:
        fail(DIV0)
    return mp.gamma(z + 1)


def binom(a, b):
    fa_b, fb, fa = fact(a - b), fact(b), fact(a)  # the order the engine fails in
    return fa / fb / fa_b


def divide(a, b):
    return a / b if b != 0 else fail(DIV0)


def odd_series(coefficient, function):
    """function(z), by its Taylor series near 0: mpmath's complex inverse
    functions lose a small part (or all) of a tiny argument."""
    def run(z):
        if abs(z) >= mpf(2) ** -40:
            return function(z)
        return mp.fsum(coefficient(k) * z ** (2 * k + 1) for k in range(8))
    return run


def binomial_term(sign):
    return lambda k: sign ** k * mp.binomial(2 * k, k) / (4 ** k * (2 * k + 1))


asin = odd_series(binomial_term(1), mp.asin)
asinh = odd_series(binomial_term(-1), mp.asinh)


def acosh(z):
    # mpmath drops a tiny negative imaginary part and lands on the other side
    # of the cut; off the cut acosh(conj z) = conj(acosh z).
    return mp.conj(mp.acosh(mp.conj(z))) if z.imag < 0 else mp.acosh(z)


_atanh = odd_series(lambda k: mpf(1) / (2 * k + 1), mp.atanh)
_atan = odd_series(lambda k: mpf(-1) ** k / (2 * k + 1), mp.atan)


def atanh(z):
    return fail(DIV0) if z in (1, -1) else _atanh(z)


def atan(z):
    return fail(DIV0) if z in (1j, -1j) else _atan(z)


def mean(*zs):
    return mp.fsum(zs) / len(zs) if zs else fail(INVALID)


def stdev(*zs):
    m = mean(*zs)
    return mp.sqrt(mp.fsum((z - m) ** 2 for z in zs) / len(zs))


def round64(x):
    n = int(mp.nint(x))  # ties to even
    return n if -2**63 <= n < 2**63 else fail(INVALID)


def int_part(f):
    """ceil/floor of one part; 2^63 and above is an invalid operation."""
    return lambda x: int(f(x)) if abs(x) < 2**63 else fail(INVALID)


def per_part(f):
    return lambda z: mpc(f(z.real), f(z.imag))


def integer_op(op):
    def run(a, b):
        x, y = round64(a.real), round64(b.real)
        if y == 0:
            fail(INT_DIV0)
        return mpc(op(x, y))
    return run


def trunc_div(x, y):
    q = abs(x) // abs(y)
    return q if (x < 0) == (y < 0) else -q


def trunc_mod(x, y):
    return x - trunc_div(x, y) * y


REFERENCE = {
    "abs": abs, "sign": lambda z: z / abs(z) if z != 0 else mpc(0),
    "arg": mp.arg, "Re": lambda z: z.real, "Im": lambda z: z.imag, "cc": mp.conj,
    "exp": mp.exp, "ln": ln, "log": lambda z: ln(z) / mp.log(10),
    "sqrt": mp.sqrt, "√": mp.sqrt,
    "sin": mp.sin, "cos": mp.cos, "tan": mp.tan,
    "sinh": mp.sinh, "cosh": mp.cosh, "tanh": mp.tanh,
    "asin": asin, "acos": mp.acos, "atan": atan,
    "asinh": asinh, "acosh": acosh, "atanh": atanh,
    "fact": fact, "!": fact, "binom": binom,
    "pow": power, "^": power, "root": lambda a, b: power(a, divide(1, b)),
    "+": lambda a, b: a + b, "-": lambda a, b: a - b, "*": lambda a, b: a * b, "/": divide,
    "mean": mean, "stdev": stdev,
    "round": per_part(round64),
    "ceil": per_part(int_part(mp.ceil)), "floor": per_part(int_part(mp.floor)),
    "div": integer_op(trunc_div), "mod": integer_op(trunc_mod),
    "gcd": integer_op(math.gcd),
    "atan2": lambda y, x: mp.atan2(y.real, x.real),
}


# The engine defines the inverse functions by these formulas; mpmath's own
# functions must agree with them on the branch cuts, where the side matters.
def _csgn(x, y):
    return mp.sign(x) if x != 0 else mp.sign(y)


def _ln(z):
    return mp.log(z)


DEFINING = {
    "asinh": lambda z: _ln(z + mp.sqrt(z * z + 1)),
    "acosh": lambda z: _ln(z + mp.sqrt(z + 1) * mp.sqrt(z - 1)),
    "atanh": lambda z: (_ln(1 + z) - _ln(1 - z)) / 2,
    "asin": lambda z: DEFINING["asinh"](mpc(-z.imag, z.real)) * mpc(0, -1),
    "atan": lambda z: DEFINING["atanh"](mpc(-z.imag, z.real)) * mpc(0, -1),
    "acos": lambda z: -_csgn(z.imag, 1 - z.real) * mpc(0, 1) * DEFINING["acosh"](z),
}


def check_branch_conventions():
    """Raise if the true values take another side of a cut than the defining
    formulas, on the cuts and just off them (down to 1e-4000 away)."""
    on_axis = (-1e30, -5, -2, -1.5, -0.5, 0.5, 1.5, 2, 5, 1e30)
    cut = [mpc(x, 0) for x in on_axis + (0,)] + [mpc(0, y) for y in on_axis]
    with mp.workprec(512):
        offsets = [0] + [s * mpf(10) ** -e for e in (30, 300, 4000) for s in (1, -1)]
        for name, formula in DEFINING.items():
            for z in cut:
                for d in offsets:
                    w = z + (mpc(0, d) if z.imag == 0 else mpc(d, 0))
                    if abs(formula(w) - REFERENCE[name](w)) > mpf(2) ** -150 * (1 + abs(formula(w))):
                        raise AssertionError("%s(%s): the branch differs" % (name, w))


# ---------------------------------------------------------------- inputs

def fmt(x, digits):
    """A decimal literal for the real x with the given significant digits."""
    with mp.workprec(256):
        s = mp.nstr(mpf(x), digits, min_fixed=-4, max_fixed=digits + 1, strip_zeros=True)
    return s.replace("e+", "e").replace(".0e", "e")


def neg(s):
    return s[1:] if s.startswith("-") else "-" + s


def U(lo, hi):
    """A real uniform in [lo, hi]."""
    return lambda rng: (fmt(lo + (hi - lo) * rng.random(), rng.choice((3, 8, 19))), None)


def M(elo, ehi, sign=0):
    """A real of magnitude 10^elo .. 10^ehi (sign 0: either sign)."""
    def sample(rng):
        digits = rng.choice((1, 2, 6, 19))
        mant = "%d" % rng.randint(10 ** (digits - 1), 10 ** digits - 1)
        e = rng.randint(elo, min(ehi, 4931))  # keeps the literal below the largest 80-bit value
        s = mant[0] + ("." + mant[1:] if digits > 1 else "") + "e%d" % e
        return (neg(s) if (sign or rng.choice((1, -1))) < 0 else s), None
    return sample


def W(lo, hi):
    """A whole number."""
    return lambda rng: ("%d" % rng.randint(lo, hi), None)


def near(centers, elo, ehi, imag_offset=False):
    """A point at distance 10^elo..10^ehi from one of the centers (real or complex)."""
    def sample(rng):
        c = mpc(rng.choice(centers))
        d = mpf(rng.choice((1, -1))) * mpf(10) ** rng.uniform(elo, ehi)
        with mp.workprec(200):
            z = c + (mpc(0, d) if imag_offset else d)
        re_ = fmt(z.real, 25) if z.real else None
        im = fmt(z.imag, 25) if z.imag else None
        return (re_ or "0", None) if im is None else (re_, im)
    return sample


def I(real):
    """Purely imaginary, from a real sampler."""
    return lambda rng: (None, real(rng)[0])


def C(real, imag):
    return lambda rng: (real(rng)[0], imag(rng)[0])


def any_of(*samplers):
    return lambda rng: rng.choice(samplers)(rng)


def one(*samplers):
    s = any_of(*samplers)
    return lambda rng: [s(rng)]


def two(first, second):
    return lambda rng: [first(rng), second(rng)]


def many(sampler, lo=1, hi=6):
    return lambda rng: [sampler(rng) for _ in range(rng.randint(lo, hi))]


def offset_list(rng):
    """Values sharing a large offset: the cancellation case of stdev."""
    base = rng.randint(10**9, 10**14)
    return [("%d" % (base + rng.randint(0, 9)), None) for _ in range(rng.randint(2, 6))]


with mp.workprec(256):
    K_PI = [k * mp.pi for k in range(-6, 7)]
    HALF_PI = [(k + mpf(0.5)) * mp.pi for k in range(-6, 6)]
    UNIT_CIRCLE = [mp.expjpi(mpf(k) / 12) for k in range(-11, 13)]
ORD = one(U(-4, 4), C(U(-4, 4), U(-4, 4)))
TINY = one(M(-4900, -30), I(M(-4900, -30)), C(M(-4900, -30), M(-4900, -30)))
HUGE = one(M(30, 4900), I(M(30, 4900)), C(M(30, 4900), M(30, 4900)))
NEGATIVE = one(M(-4, 4, -1))
IMAG = one(I(M(-4, 4)))
COMPLEX = one(C(M(-6, 6), M(-6, 6)))
CUT_REAL = one(M(0, 30, -1), U(-30, -1.0001), U(1.0001, 30), M(0, 30, 1))
CUT_IMAG = one(I(M(0, 30)), I(U(1.0001, 30)), I(U(-30, -1.0001)))


def cancellation(sign):
    """a + b or a - b of two nearly equal magnitudes that cancel."""
    def sample(rng):
        e, d = rng.randint(-30, 30), rng.randint(1, 10**rng.randint(1, 18))
        a = "1.%0*de%d" % (18, d, e)
        return [(a, None), ("%s1e%d" % ("-" if sign < 0 else "", e), None)]
    return sample


def near_cut(samplers, elo=-30, ehi=-5):
    """On-cut points moved off the axis by a tiny amount of either sign."""
    base = any_of(*samplers)

    def sample(rng):
        re_, im = base(rng)
        tiny = M(elo, ehi)(rng)[0]
        return (re_, tiny) if im is None else (tiny, im)
    return one(sample)


INVERSE_COMMON = {"ordinary": ORD, "tiny": TINY, "huge": HUGE, "imaginary": IMAG,
                  "negative": NEGATIVE, "complex": COMPLEX}
TRIG_COMMON = {"ordinary": ORD, "tiny": TINY, "imaginary": IMAG, "negative": NEGATIVE,
               "complex": COMPLEX,
               "large real": one(M(3, 18), C(M(3, 18), U(-2, 2))),
               "large imaginary": one(I(M(2, 4)), C(U(-4, 4), M(3, 4)), I(U(11300, 11400)))}
HYPER_COMMON = {"ordinary": ORD, "tiny": TINY, "imaginary": IMAG, "negative": NEGATIVE,
                "complex": COMPLEX,
                "large": one(M(2, 4), U(11340, 11370), U(-11370, -11340), C(M(3, 4), U(-4, 4)))}
PLANE_COMMON = {"ordinary": ORD, "tiny": TINY, "huge": HUGE, "negative": NEGATIVE,
                "imaginary": IMAG, "complex": COMPLEX}
ORD_S = any_of(U(-4, 4), C(U(-4, 4), U(-4, 4)))
COMPLEX_S = C(M(-6, 6), M(-6, 6))
INT_REAL = any_of(W(-1000, 1000), U(-1000, 1000), near([k + mpf(0.5) for k in range(-5, 5)], -25, -1))

REGIONS = {
    **{f: PLANE_COMMON for f in ("abs", "sign", "arg", "Re", "Im", "cc")},
    "sqrt": {**PLANE_COMMON, "near cut": near_cut([M(-4, 4, -1)])},
    "ln": {**PLANE_COMMON, "near cut": near_cut([M(-4, 4, -1)]),
           "near one": one(near([1], -19, -1), near([1], -19, -1, True), near(UNIT_CIRCLE, -19, -8))},
    "exp": {"ordinary": ORD, "tiny": TINY, "imaginary": IMAG, "complex": COMPLEX,
            "large": one(U(-11400, 11400), M(3, 4), C(M(3, 4), U(-4, 4)), I(M(3, 18)))},
    "sin": {**TRIG_COMMON, "near zero": one(near(K_PI, -19, -1))},
    "cos": {**TRIG_COMMON, "near zero": one(near(HALF_PI, -19, -1), near([1], -15, -5, True))},
    "tan": {**TRIG_COMMON, "near zero": one(near(K_PI, -19, -1)), "near pole": one(near(HALF_PI, -19, -1))},
    "sinh": {**HYPER_COMMON, "near zero": one(I(near(K_PI, -19, -1)))},
    "cosh": {**HYPER_COMMON, "near zero": one(I(near(HALF_PI, -19, -1)))},
    "tanh": {**HYPER_COMMON, "near pole": one(I(near(HALF_PI, -19, -1))),
             "near zero": one(I(near(K_PI, -19, -1)))},
    "asin": {**INVERSE_COMMON, "branch cut": CUT_REAL, "near cut": near_cut([U(-30, -1.0001), U(1.0001, 30)]),
             "near one": one(near([1, -1], -19, -1))},
    "acos": {**INVERSE_COMMON, "branch cut": CUT_REAL, "near cut": near_cut([U(-30, -1.0001), U(1.0001, 30)]),
             "near one": one(near([1, -1], -19, -1))},
    "atanh": {**INVERSE_COMMON, "branch cut": CUT_REAL, "near cut": near_cut([U(-30, -1.0001), U(1.0001, 30)]),
              "near pole": one(near([1, -1], -19, -1), near([1, -1], -19, -1, True))},
    "asinh": {**INVERSE_COMMON, "branch cut": CUT_IMAG, "near cut": near_cut([I(U(1.0001, 30)), I(U(-30, -1.0001))])},
    "atan": {**INVERSE_COMMON, "branch cut": CUT_IMAG, "near cut": near_cut([I(U(1.0001, 30)), I(U(-30, -1.0001))]),
             "near pole": one(I(near([1, -1], -19, -1)), near([1j, -1j], -19, -1))},
    "acosh": {**INVERSE_COMMON, "branch cut": one(U(-30, 0.9999), M(-30, 30, -1)),
              "near cut": near_cut([U(-30, 0.9999)]), "near one": one(near([1], -19, -1))},
    "fact": {"whole": one(W(0, 170), W(171, 1754), W(1755, 1800)),
             "near whole": one(near(list(range(-8, 30)), -15, -1)),
             "negative": one(U(-170, 0)), "ordinary": ORD, "complex": one(C(U(-30, 30), U(-30, 30))),
             "huge": one(M(4, 30), C(M(1, 3), M(1, 3)))},
    "binom": {"whole": two(W(0, 60), W(0, 60)), "large whole": two(W(1000, 1750), W(0, 1000)),
              "real": two(U(-20, 60), U(-20, 60)), "complex": two(C(U(-9, 9), U(-9, 9)), U(-5, 9))},
    "pow": {"real whole": two(M(-3, 3, 1), W(-4000, 4000)),
            "real real": two(M(-4, 4, 1), U(-200, 200)),
            "negative whole": two(M(-3, 3, -1), W(-500, 500)),
            "negative real": two(M(-3, 3, -1), U(-50, 50)),
            "complex whole": two(C(U(-4, 4), U(-4, 4)), W(-300, 300)),
            "complex exponent": two(any_of(M(-3, 3), C(U(-4, 4), U(-4, 4))), C(U(-10, 10), U(-10, 10))),
            "tiny huge": two(any_of(M(-4900, -30, 1), M(30, 4900, 1)), U(-2, 2)),
            "zero base": two(lambda rng: ("0", None), any_of(W(-3, 3), C(U(-3, 3), U(-3, 3))))},
    "root": {"ordinary": two(M(-4, 4, 1), any_of(W(2, 9), U(-9, 9))),
             "negative": two(M(-4, 4, -1), W(2, 9)),
             "complex": two(C(U(-4, 4), U(-4, 4)), any_of(W(2, 9), C(U(-4, 4), U(-4, 4)))),
             "huge": two(M(100, 4900, 1), W(2, 9))},
    "+": {"ordinary": two(ORD_S, ORD_S), "cancellation": cancellation(-1),
          "huge": two(M(4000, 4932), M(4000, 4932)), "tiny": two(M(-4900, -4000), M(-4900, -4000))},
    "-": {"ordinary": two(ORD_S, ORD_S), "cancellation": cancellation(1),
          "huge": two(M(4000, 4932), M(4000, 4932)), "tiny": two(M(-4900, -4000), M(-4900, -4000))},
    "*": {"ordinary": two(ORD_S, ORD_S), "huge": two(C(M(2400, 2470), M(2400, 2470)), C(M(2000, 2460), M(2000, 2460))),
          "tiny": two(M(-2470, -2400), M(-2470, -2000)),
          "cancellation": two(C(U(1, 2), U(1, 2)), near([1.1 + 1.1j, 1.2 + 1.1j], -12, -8))},
    "/": {"ordinary": two(ORD_S, ORD_S), "huge": two(any_of(M(30, 4900), C(M(30, 4900), M(30, 4900))), any_of(M(2400, 4900), C(M(2400, 4900), M(2400, 4900)))),
          "tiny": two(any_of(M(-4900, -30), C(M(-3000, -30), M(-3000, -30))), any_of(M(-4900, -2400), C(M(-4900, -2400), M(-4900, -2400)))),
          "complex": two(COMPLEX_S, COMPLEX_S)},
    "mean": {"ordinary": many(any_of(U(-100, 100), C(U(-9, 9), U(-9, 9)))), "huge": many(M(4900, 4932, 1), 1, 4),
             "tiny": many(M(-4900, -30))},
    "stdev": {"ordinary": many(U(-100, 100), 2), "complex": many(C(U(-9, 9), U(-9, 9)), 2),
              "cancellation": offset_list, "huge": many(M(2460, 4900, 1), 2, 4), "tiny": many(M(-4900, -30), 2)},
    "round": {"ordinary": one(INT_REAL, C(INT_REAL, INT_REAL)), "large": one(M(10, 18), M(19, 20))},
    "ceil": {"ordinary": one(INT_REAL, C(INT_REAL, INT_REAL)), "large": one(M(5, 8), U(-2.1e9, 2.1e9), M(19, 20))},
    "floor": {"ordinary": one(INT_REAL, C(INT_REAL, INT_REAL)), "large": one(M(5, 8), U(-2.1e9, 2.1e9), M(19, 20))},
    "div": {"ordinary": two(INT_REAL, INT_REAL), "large": two(M(10, 18), M(0, 9))},
    "mod": {"ordinary": two(INT_REAL, INT_REAL), "large": two(M(10, 18), M(0, 9))},
    "gcd": {"ordinary": two(W(-10**6, 10**6), W(-10**6, 10**6)), "large": two(M(10, 18), W(1, 10**9))},
    "atan2": {"ordinary": two(U(-4, 4), U(-4, 4)), "axes": two(any_of(M(-3, 3), lambda r: ("0", None)), any_of(M(-3, 3), lambda r: ("0", None))),
              "tiny huge": two(any_of(M(-4900, -30), M(30, 4900)), any_of(M(-4900, -30), M(30, 4900)))},
}
REGIONS["log"] = REGIONS["ln"]
REGIONS["√"] = {k: REGIONS["sqrt"][k] for k in ("ordinary", "negative", "complex")}
REGIONS["!"] = {k: REGIONS["fact"][k] for k in ("whole", "near whole", "complex")}
REGIONS["^"] = REGIONS["pow"]

# Statements as written in the report that led to this checker, and the
# calls whose result must be an error message.
FIXED = """sinh(1e-20) tanh(1e-20) asinh(1e-20) atanh(1e-20) sin(1e-20i) tan(1e-20i)
asin(1e-20i) atan(1e-20i) sinh(1e-10) acos(-2) acosh(-2) asinh(-1e10) asin(-1e10)
tanh(5700) tanh(20000) tan(1+5700i) ln(1e2500) sqrt(1e3000) abs(1e3000) atan(1e3000)
1/1e2500 1e3000/1e2990 mean(1e4932,1e4932) binom(1700,850) abs(1e-3000) sign(1e-3000)
stdev(10000000001,10000000002,10000000003,10000000004) stdev(1e12,1000000000001)
cos(1+1e-10i) ln(0.6+0.8000000000001i) sqrt(-4+1e-10i) (1.1+1.2i)*(1.2000000001+1.1i)
asin(1e-5) fact(5) binom(5,2) 10^4000 3^40 fact(170) fact(1700) binom(60,30)
acos(2) atanh(2) sin(0.5) tan(1+12000i) 2^(-16000)""".split()
ERRORS = """ln(0) log(0) atanh(1) atanh(-1) atan(1i) atan(-1i) fact(-1) fact(-7) (-3)! binom(2,5)
binom(-1,1) binom(3,-1) 1/0 (1+2i)/0 0/0 mean() stdev() exp(12000) sinh(-11400) cosh(11400)
1e4932*10 fact(1800) abs(1e4932+1e4932i) 10^5000 div(1,0) mod(5,0) round(1e19) ceil(-1e19)
floor(1e19) root(8,0)""".split()


def parse_statement(s):
    """'f(a,b)', 'a/b', '(a)!' -> (function, [args])."""
    m = re.fullmatch(r"(\w+)\((.*)\)", s)
    if m:
        return m.group(1), [parse_literal(a) for a in m.group(2).split(",") if a]
    if s.endswith("!"):
        return "!", [parse_literal(s[:-1])]
    m = re.fullmatch(r"(\(.*?\)|[^()*/^+]+?)([*/^+])(.+)", s)
    a, op, b = m.groups()
    return op, [parse_literal(a), parse_literal(b)]


FORMS = {"+": "op", "-": "op", "*": "op", "/": "op", "^": "op", "!": "postfix", "√": "prefix"}


def statement(function, args):
    texts = [text(a) for a in args]
    form = FORMS.get(function, "call")
    if form == "op":
        a, b = ("(%s)" % t if t.startswith("-") else t for t in texts)
        return a + function + b
    if form == "postfix":
        return "(%s)!" % texts[0]
    if form == "prefix":
        return "√(%s)" % texts[0]
    return "%s(%s)" % (function, ",".join(texts))
