#!/usr/bin/env python3
"""Writes text-to-extended conversion cases with their exact expected results.

Each line is "<separator> <expected> <text>": the expected value is the x87
80-bit pattern as 20 hex digits (sign and exponent first), worked out here with
exact rational arithmetic and round-half-to-even, or "refused" past the range.
The cases are random texts, exact midpoints between neighbouring extended values
and the texts just above and below them, and the range's edges. Seeded, so every
run and every platform checks the same cases.

    make_cases.py OUTPUT [COUNT]
"""
import decimal
import os
import random
import sys
from fractions import Fraction

MIN_SCALE = -16445  # the unit of the last place of the smallest denormal
MAX_BIASED = 0x7FFF


def round_half_even(q):
    whole, rest = divmod(q.numerator, q.denominator)
    twice = 2 * rest
    if twice > q.denominator or (twice == q.denominator and whole % 2 == 1):
        whole += 1
    return whole


def extended_pattern(text):
    """The extended value nearest to text as 20 hex digits, or None on overflow."""
    negative = text.startswith("-")
    q = abs(Fraction(text))
    biased, significand = 0, 0
    if q != 0:
        scale = q.numerator.bit_length() - q.denominator.bit_length() - 63
        while q / Fraction(2) ** scale >= 2**64:
            scale += 1
        while q / Fraction(2) ** scale < 2**63:
            scale -= 1
        scale = max(scale, MIN_SCALE)
        significand = round_half_even(q / Fraction(2) ** scale)
        if significand == 2**64:
            significand //= 2
            scale += 1
        if significand >= 2**63:
            biased = scale + 63 + 16383
            if biased >= MAX_BIASED:
                return None
    word = (int(negative) << 15) | biased
    return f"{word:04x}{significand:016x}"


def exact_decimal(q):
    """q (a dyadic rational) written out exactly in positional notation."""
    sign = "-" if q < 0 else ""
    q = abs(q)
    k = q.denominator.bit_length() - 1
    assert q.denominator == 2**k
    digits = str(q.numerator * 5**k).rjust(k + 1, "0")
    whole, fraction = digits[: len(digits) - k], digits[len(digits) - k :]
    return sign + whole + ("." + fraction if fraction else "")


def shortened(q, digits):
    """q rounded to the given number of significant digits, as E notation."""
    context = decimal.Context(prec=digits, rounding=decimal.ROUND_HALF_EVEN, Emax=10**6,
                              Emin=-10**6)
    return str(context.divide(decimal.Decimal(q.numerator), decimal.Decimal(q.denominator)))


def cases(rng, count):
    # Random decimal texts across the whole range, both notations.
    for _ in range(count // 2):
        digits = "".join(rng.choice("0123456789") for _ in range(rng.randint(1, 30)))
        point = rng.randint(0, len(digits))
        exponent = rng.randint(-4970, 4950)
        text = digits[:point] + "." + digits[point:] + f"e{exponent}"
        yield rng.choice("+-") + text if rng.random() < 0.3 else text
    # Midpoints between neighbours and the nearest texts on either side: the
    # cases a conversion that is not correctly rounded gets wrong.
    for i in range(count // 6):
        if i % 20 == 0:  # among the denormals, where the digits run to thousands
            significand, scale = rng.randrange(1, 2**63), MIN_SCALE
        else:
            significand = rng.randrange(2**63, 2**64)
            scale = rng.randrange(-1200, 1000) if i % 2 else rng.randrange(-150, 100)
        midpoint = exact_decimal(Fraction(2 * significand + 1) * Fraction(2) ** (scale - 1))
        yield midpoint
        yield midpoint + "0000001"
        # Just below: the last digit of an exact dyadic fraction is a 5.
        yield midpoint[:-1] + "4999999" if "." in midpoint else midpoint + ".9999999e-1"
    # Representable values written with 21 significant digits, which read back exactly.
    for _ in range(count // 6):
        value = Fraction(rng.randrange(2**63, 2**64)) * Fraction(2) ** rng.randrange(-16400, 16300)
        yield shortened(value, 21)
    # The range's edges: the overflow threshold (a tie, to even: out of range)
    # and half the smallest denormal (a tie, to even: zero), and their neighbours.
    threshold = Fraction(2**65 - 1) * Fraction(2) ** 16319
    yield exact_decimal(threshold)
    yield "-" + exact_decimal(threshold)
    yield exact_decimal(threshold - Fraction(1, 2**10))
    half_denormal = exact_decimal(Fraction(2) ** (MIN_SCALE - 1))
    yield half_denormal
    yield half_denormal + "1"
    yield "-" + half_denormal[:-1] + "4999"
    for text in ["1.18973149535723176502e+4932", "1.18973149535723176505e+4932",
                 "1.189731495357231765085759326628007e4932",
                 "1.189731495357231765085759326628008e4932",
                 "3.36210314311209350626e-4932", "3.36210314311209350625e-4932",
                 "3.64519953188247460252e-4951", "1.82259976594123730126e-4951",
                 "1.82259976594123730125e-4951", "1.8225997659412373012e-4951",
                 "0.0", "-0", "123456789012345678901234567890", "1e-4951", "2e-4951",
                 "5e-4952"]:
        yield text


def main():
    sys.set_int_max_str_digits(0)
    output = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 3000
    rng = random.Random(20260105)
    lines = []
    for text in cases(rng, count):
        expected = extended_pattern(text)
        separator = rng.choice(".,")
        shown = text.replace(".", separator)
        lines.append(f"{separator} {expected or 'refused'} {shown}\n")
    with open(output + ".tmp", "w", encoding="ascii", newline="\n") as out:
        out.writelines(lines)
    os.replace(output + ".tmp", output)


if __name__ == "__main__":
    main()
