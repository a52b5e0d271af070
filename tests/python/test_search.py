import json
import math
import os
import re
import signal
import subprocess
import sys
import threading
import time

import numpy
import pytest

import velmora

FORMULA = "sin(x[0]) + sin(10*x[0]/3)"


@pytest.mark.parametrize("method,param,rule", [
    ("strongin", 2.0, {"steps": 100}),
    ("piyavsky", 12.0, {"precision": 1e-6}),
    ("inf-ltma", None, {"eps": 1e-4}),
    ("scan", None, {"steps": 30}),
    ("nlopt-direct", None, {"steps": 50}),
], ids=["strongin-steps", "piyavsky-precision", "inf-ltma-interval", "scan-steps", "nlopt-direct-steps"])
def test_formula_runs_match_velmora_run_bit_for_bit(method, param, rule):
    r = velmora.search(FORMULA, (2.7, 7.5), method=method, param=param, **rule)
    option = {"steps": "--steps", "precision": "--eps", "eps": "--interval-eps"}[next(iter(rule))]
    args = [os.environ["VELMORA_RUN"], FORMULA, "--interval", "2.7", "7.5", "--method", method,
            option, repr(next(iter(rule.values()))), "--format", "json", "--trials"]
    if param is not None:
        args += ["--param", repr(param)]
    out = json.loads(subprocess.run(args, capture_output=True, text=True, check=True).stdout)
    assert float.fromhex(out["best_x_hex"]) == r.x and float.fromhex(out["f_best_hex"]) == r.fun
    assert (out["step_count"], out["evaluations"]) == (r.nit, r.nfev)
    assert [float.fromhex(t["x_hex"]) for t in out["trials"]] == list(r.trials.x)
    # NLopt's trials have no characteristic: NaN on both sides.
    assert numpy.array_equal([float.fromhex(t["charact_hex"]) for t in out["trials"]], r.trials.charact, equal_nan=True)
    assert r.stop == out["stop"]
    assert (r.engine_result, r.engine_result_text) == (out.get("nlopt_result"), out.get("nlopt_result_text"))
    assert (r.nlopt_result, r.nlopt_result_text) == (r.engine_result, r.engine_result_text)


def test_trials_outside_the_bounds_warn_in_velmora_runs_words():
    with pytest.warns(RuntimeWarning, match=r"^46 of 62 trials lie outside \[2.7, 7.5\], the first at step 2; L = 0.2 ") as caught:
        r = velmora.search(FORMULA, (2.7, 7.5), method="piyavsky", param=0.2, steps=60)
    assert (r.trials_outside, r.first_step_outside) == (46, 2)
    assert str(caught[0].message).endswith(f"The best point found, {r.x!r}, lies outside the interval. A larger L avoids this.")
    inside = velmora.search(FORMULA, (2.7, 7.5), method="piyavsky", param=6, steps=60)
    assert (inside.trials_outside, inside.first_step_outside) == (0, None)


def test_a_callable_places_the_formulas_trials():
    f = velmora.search(FORMULA, (2.7, 7.5), method="scan", steps=64)
    c = velmora.search(lambda x: math.sin(x) + math.sin(10 * x / 3), (2.7, 7.5), method="scan", steps=64)
    assert list(c.trials.x) == list(f.trials.x)


@pytest.mark.parametrize("kwargs,words", [
    ({"bounds": (3, 1)}, "bounds: A must be less than B"),
    ({"bounds": (math.nan, 1)}, "is not a finite number"),
    ({"method": "nope"}, 'unknown method "nope"'),
    ({"method": "strongin", "param": 0.5}, "must be greater than 1"),
    ({"steps": None}, "a stop rule is required"),
    ({"eps": 1e-3}, "give only one stop rule"),
], ids=["reversed", "nan-bound", "unknown-method", "refused-param", "no-rule", "two-rules"])
def test_bad_arguments_raise_value_error_in_velmora_runs_words(kwargs, words):
    call = {"bounds": (0, 1), "method": "scan", "steps": 5}
    call.update(kwargs)
    with pytest.raises(ValueError, match=words.replace("(", r"\(").replace("[", r"\[")):
        velmora.search("x[0]", call.pop("bounds"), **call)


def _own(name):
    return velmora.Method(charact=lambda *a: 0.0, new_point=lambda xl, xr, *a: (xl + xr) / 2, name=name)


@pytest.mark.parametrize("call,error,words", [
    (lambda: velmora.search("x[0]", None, steps=3), TypeError, "bounds must be a pair of numbers (a, b)"),
    (lambda: velmora.search("x[0]", ("a", "b"), steps=3), TypeError, "bounds must be a pair of numbers"),
    (lambda: velmora.search("x[0]", (0, 1), method=None, steps=3), TypeError, "method must be a method's id"),
    (lambda: velmora.class_run("hill", 2, methods=[None]), TypeError, "methods[0] must be a method's id"),
    (lambda: velmora.class_run("hill", 2, methods=[]), ValueError, "methods is empty"),
    (lambda: velmora.class_run("hill", 2, methods=[""]), ValueError, 'unknown method ""'),
    (lambda: velmora.test_set("hansen20", methods=["d-al"]), ValueError, 'd-al needs params={"d-al": M}'),
    (lambda: velmora.class_run("hill", 2, params={"strongin": None}), TypeError, 'params["strongin"] must be a number'),
    (lambda: _own("strongin"), ValueError, 'name: "strongin" is the id of a built-in method'),
    (lambda: velmora.search(math.sin, (0, 1), method="d-lt", steps=3), ValueError, "uses the derivative f'"),
    (lambda: velmora.class_run(None, 2), TypeError, "cls must be the name of a class"),
    (lambda: velmora.class_run("hill", ["a"]), TypeError, "indices must be a count of functions or a sequence"),
    (lambda: velmora.class_run("hill", -1), ValueError, "a count of functions must be at least 1"),
    (lambda: velmora.class_run("hill", 2, methods=None), TypeError, "methods must be a method's id (str), a Method"),
], ids=["no-bounds", "text-bounds", "no-method", "no-method-in-list", "no-methods", "empty-id", "no-given-m", "param-type",
        "own-named-built-in", "f-prime-of-a-callable", "no-class", "text-indices", "negative-count", "no-methods-at-all"])
def test_wrong_arguments_are_named_in_pythons_words(call, error, words):
    with pytest.raises(error, match=re.escape(words)):
        call()


def test_the_f_prime_methods_take_the_slope_as_scipy_takes_jac():
    f = lambda x: math.sin(x) + math.sin(10 * x / 3)
    df = lambda x: math.cos(x) + 10 / 3 * math.cos(10 * x / 3)
    formula = velmora.search(FORMULA, (2.7, 7.5), method="d-lt-li", steps=30)
    by_jac = velmora.search(f, (2.7, 7.5), method="d-lt-li", steps=30, jac=df)
    by_pair = velmora.search(lambda x: (f(x), df(x)), (2.7, 7.5), method="d-lt-li", steps=30, jac=True)
    assert numpy.array_equal(by_jac.trials.x, by_pair.trials.x)
    assert numpy.allclose(by_jac.trials.x, formula.trials.x) and abs(formula.x - 5.1457352) < 1e-6
    assert numpy.allclose(formula.trials.df, [df(x) for x in formula.trials.x])
    assert velmora.search(FORMULA, (2.7, 7.5), method="strongin", steps=5).trials.df is None
    with pytest.raises(TypeError, match="must return a pair"):
        velmora.search(lambda x: 1.0, (0, 1), method="d-lt", steps=3, jac=True)


def test_one_method_id_is_a_list_of_one():
    rows = velmora.class_run("hill", range(2), methods="strongin", max_trials=50)
    assert list(rows["method"]) == ["strongin", "strongin"]


def test_searches_nested_in_objectives_end_in_recursion_error_not_a_crash():
    # In a child process, so that a crash fails the test instead of ending it.
    program = """
import sys, velmora
sys.setrecursionlimit(100000)
def f(x):
    velmora.search(f, (0, 1), method="scan", steps=1)
    return x
try:
    velmora.search(f, (0, 1), method="scan", steps=1)
except RecursionError as e:
    print("RecursionError:", e)
"""
    done = subprocess.run([sys.executable, "-c", program], capture_output=True, text=True, timeout=60)
    assert done.returncode == 0, done.stderr
    assert "RecursionError: velmora.search nested more than 100 deep" in done.stdout
    # A Method's rules that start a class run start it on fresh threads, which no one thread's count sees.
    in_rules = """
import velmora
def charact(xl, xr, zl, zr, c):
    velmora.class_run("hill", 1, [m], max_trials=3, jobs=1)
    return xr - xl
m = velmora.Method(charact=charact, new_point=lambda *a: (a[0] + a[1]) / 2)
try:
    velmora.class_run("hill", 1, [m], max_trials=3, jobs=1)
except RecursionError as e:
    print("RecursionError:", e)
"""
    done = subprocess.run([sys.executable, "-c", in_rules], capture_output=True, text=True, timeout=60)
    assert done.returncode == 0, done.stderr
    assert "RecursionError: more than 64 class or test-set runs at once" in done.stdout


def test_errors_of_formulas_and_objectives():
    with pytest.raises(velmora.FormulaError) as syntax:
        velmora.search("sin(x[0]", (0, 1), steps=3)
    assert syntax.value.position == 8
    with pytest.raises(velmora.ArithmeticFault, match="division by zero"):
        velmora.search("1/(x[0]-0.5)", (0, 1), method="scan", steps=3)

    class Mine(Exception):
        pass

    def objective(x):
        raise Mine("from the objective")

    with pytest.raises(Mine, match="from the objective"):
        velmora.search(objective, (0, 1), steps=3)


def test_a_run_that_meets_a_value_that_is_not_a_number_is_no_success():
    r = velmora.search(lambda x: float("nan") if x > 0.5 else -x, (0, 1), method="strongin", steps=10)
    assert not r.success
    assert r.first_non_finite["order"] == 2 and math.isnan(r.first_non_finite["f"])
    assert "F = nan at x = 1, the trial placed 2nd" in r.message
    assert velmora.search("x[0]^2", (-1, 1), method="strongin", steps=10).first_non_finite is None
    with pytest.raises(velmora.ArithmeticFault, match="in the method's own arithmetic, not in F"):
        velmora.search("exp(1000*x[0])", (0, 1), method="piyavsky", steps=10)


def test_callback_stops_after_its_step():
    r = velmora.search(FORMULA, (2.7, 7.5), steps=100, callback=lambda s: s.step == 7)
    assert (r.nit, r.stop, r.success) == (7, "requested", True)


@pytest.mark.parametrize("objective", [FORMULA + " + 0*x[0]", math.sin], ids=["formula", "callable"])
def test_sigint_from_a_thread_ends_a_long_run_soon(objective):
    sent = []

    def interrupt():
        sent.append(time.monotonic())
        os.kill(os.getpid(), signal.SIGINT)

    timer = threading.Timer(0.01, interrupt)
    timer.start()
    with pytest.raises(KeyboardInterrupt):
        velmora.search(objective, (2.7, 7.5), method="strongin", steps=100000)
    # Timed from the signal itself, so a late timer thread on a busy machine does not count.
    assert time.monotonic() - sent[0] < 0.1
    assert velmora.search(FORMULA, (2.7, 7.5), steps=5).nit == 5


def test_a_python_piyavsky_places_piyavskys_trials():
    L = 12.0
    mine = velmora.Method(charact=lambda xl, xr, zl, zr, c: 0.5 * c * (xr - xl) - 0.5 * (zl + zr),
                          new_point=velmora.meeting_point, constant=lambda trials: L)
    ours = velmora.search(FORMULA, (2.7, 7.5), method=mine, steps=80, record_steps=True)
    built = velmora.search(FORMULA, (2.7, 7.5), method="piyavsky", param=L, steps=80, record_steps=True)
    assert list(ours.trials.x) == list(built.trials.x)
    # The characteristic only ranks: Python's doubles may round it an ulp off the core's 80 bits.
    assert ours.steps["charact"] == pytest.approx(built.steps["charact"], rel=1e-12)


def test_ten_thousand_searches_keep_memory_flat():
    def rss_kb():
        with open("/proc/self/status") as status:
            return next(int(line.split()[1]) for line in status if line.startswith("VmRSS"))

    for _ in range(200):
        velmora.search(FORMULA, (2.7, 7.5), steps=50, record_steps=True)
    before = rss_kb()
    for _ in range(10000):
        velmora.search(FORMULA, (2.7, 7.5), steps=50, record_steps=True).trials.x.sum()
    assert rss_kb() - before < 2048


def test_class_run_rows_and_their_operational_characteristic():
    rows = velmora.class_run("hill", range(10), methods=["strongin", "inf-ltma"], max_trials=200, jobs=2)
    assert list(rows["method"][:2]) == ["strongin", "inf-ltma"] and len(rows["index"]) == 20
    curve = velmora.operational(rows)["strongin"]
    assert curve["k"][-1] == 200 and curve["solved"] == int((rows["first_hit"][::2] > 0).sum())
    for hit in (0, 201, 1e300, 2.5, math.inf):
        with pytest.raises(ValueError, match="is not a whole number from 1 to max_trials 200"):
            velmora.operational({"method": ["strongin"], "first_hit": [hit]}, max_trials=200)


def test_class_run_of_a_shipped_set_gives_velmora_runs_rows():
    rows = velmora.class_run("hill1000", range(980, 1000), methods=["strongin", "piyavsky"], max_trials=300)
    csv = subprocess.run([os.environ["VELMORA_RUN"], "--class", "hill1000:980-999", "--methods", "strongin,piyavsky",
                          "--max-trials", "300", "--format", "csv"], capture_output=True, text=True, check=True).stdout
    header, *lines = csv.splitlines()
    first_hit = [line.split(",")[header.split(",").index("first_hit")] for line in lines]
    assert [str(int(h)) if h == h else "" for h in rows["first_hit"]] == first_hit
    assert velmora.test_function("hill1000", 999).cls == "hill1000"


def test_class_run_of_a_users_method_equals_the_built_in_one():
    L = 300.0
    mine = velmora.Method(charact=lambda xl, xr, zl, zr, c: 0.5 * c * (xr - xl) - 0.5 * (zl + zr),
                          new_point=velmora.meeting_point, constant=lambda trials: L, name="my-piyavsky")
    rows = velmora.class_run("hill", range(8), methods=[mine, "piyavsky"], max_trials=300, params={"piyavsky": L})
    assert list(rows["method"][:2]) == ["my-piyavsky", "piyavsky"]
    assert list(rows["first_hit"][::2]) == list(rows["first_hit"][1::2])


@pytest.mark.parametrize("kwargs,rule,stop", [
    ({"tol": 1e-4}, {"eps": 1e-4}, "interval"),
    ({}, {"eps": 1e-5}, "interval"),
    ({"options": {"steps": 40}}, {"steps": 40}, "steps"),
    ({"tol": 1e-3, "options": {"param": 1.1}}, {"eps": 1e-3, "param": 1.1}, "left-interval"),
], ids=["tol-is-eps", "scipys-default-xatol", "a-rule-in-options", "a-run-that-fails"])
def test_minimize_scalar_is_a_search_under_scipys_signature(kwargs, rule, stop):
    r = velmora.minimize_scalar("sin(x[0]) + sin(x[1]*x[0]/3)", bounds=(2.7, 7.5), args=(10,), method="inf-lta",
                                **kwargs)
    s = velmora.search(FORMULA, (2.7, 7.5), method="inf-lta", **rule)
    # One result type whether or not scipy is installed.
    assert type(r) is velmora.SearchResult
    assert (r.x, r.fun, r.nit, r.stop) == (s.x, s.fun, s.nit, stop)
    assert (r.success, r.status) == (stop != "left-interval", 0 if stop != "left-interval" else 1)
