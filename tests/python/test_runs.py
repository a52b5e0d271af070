"""Runs over many problems: test sets, class runs with seeds, their operational characteristics."""
import doctest
import os
import subprocess

import numpy
import pytest

import velmora

STOCHASTIC = next((m["id"] for m in velmora.methods() if m["id"] == "nlopt-crs2" and m["installed"]), None)
needs_stochastic = pytest.mark.skipif(STOCHASTIC is None, reason="this build has no stochastic method")


def velmora_run(*args):
    return subprocess.run([os.environ["VELMORA_RUN"], *args], capture_output=True, text=True, check=True)


def csv_rows(text):
    header, *lines = text.splitlines()
    return [dict(zip(header.split(","), line.split(","))) for line in lines]


def cell(value):
    """A column's value as velmora-run's csv writes it."""
    if isinstance(value, (float, numpy.floating)):
        return "" if value != value else repr(float(value)).removesuffix(".0") if float(value).is_integer() else repr(float(value))
    return str(value)


@pytest.mark.parametrize("methods,extra", [
    (["scan", "piyavsky", "strongin"], []),
    (["inf-ltma", "strongin"], ["--eps-rel", "1e-3"]),
    (["piyavsky", "geom-gl"], ["--steps", "60"]),
], ids=["literature", "variant-eps-rel", "steps"])
def test_a_test_set_gives_velmora_runs_suite_figures(methods, extra):
    kwargs = {}
    if "--eps-rel" in extra:
        kwargs["eps_rel"] = float(extra[extra.index("--eps-rel") + 1])
    if "--steps" in extra:
        kwargs["steps"] = int(extra[extra.index("--steps") + 1])
    runs = velmora.test_set("hansen20", methods, **kwargs)
    csv = [r for r in csv_rows(velmora_run("--suite", os.path.join(os.path.dirname(velmora.__file__), "data",
                                                                    "hansen20.tsv"),
                                           "--methods", ",".join(methods), "--format", "csv", *extra).stdout)
           if r["id"] != "mean"]
    assert len(csv) == len(runs["id"]) == 20 * len(methods)
    for i, row in enumerate(csv):
        for column in ("id", "method", "trials", "success", "first_hit", "error"):
            assert cell(runs[column][i]) == row[column], (column, row)


@needs_stochastic
def test_seeds_give_velmora_runs_rows_and_its_spread_over_seeds():
    runs = velmora.class_run("hill", 15, [STOCHASTIC, "strongin"], max_trials=200, seeds=3)
    csv = csv_rows(velmora_run("--class", "hill:15", "--methods", f"{STOCHASTIC},strongin", "--max-trials", "200",
                               "--seeds", "3", "--format", "csv").stdout)
    assert [cell(h) for h in runs["first_hit"]] == [r["first_hit"] for r in csv]
    assert [str(s) for s, r in zip(runs["seed"], csv) if r["seed"]] == [r["seed"] for r in csv if r["seed"]]

    summary = velmora_run("--class", "hill:15", "--methods", f"{STOCHASTIC},strongin", "--max-trials", "200",
                          "--seeds", "3").stdout
    line = next(l for l in summary.splitlines() if l.startswith(f"| {STOCHASTIC} | ") and "/" in l)
    curve = velmora.operational(runs)[STOCHASTIC]
    solved = f"{curve['solved']:.1f} ({curve['solved_range'][0]:.1f}–{curve['solved_range'][1]:.1f})/{curve['runs']}"
    hits = f"{curve['mean_first_hit']:.1f} ({curve['mean_first_hit_range'][0]:.1f}–{curve['mean_first_hit_range'][1]:.1f})"
    assert line.split(" | ")[2:4] == [solved, hits]
    assert curve["seeds"] == 3 and (curve["low"] <= curve["share"]).all() and (curve["share"] <= curve["high"]).all()
    assert velmora.operational(runs)["strongin"]["seeds"] == 1


def test_a_users_method_runs_on_the_threads_like_the_built_in_one():
    mine = velmora.Method(charact=lambda xl, xr, zl, zr, c: 0.5 * c * (xr - xl) - 0.5 * (zl + zr),
                          new_point=velmora.meeting_point, constant=lambda trials: 300.0, name="mine")
    runs = velmora.test_set("hansen20", [mine, "piyavsky"], params={"piyavsky": 300.0}, steps=300, jobs=3)
    assert list(runs["method"][:2]) == ["mine", "piyavsky"]
    assert (runs["first_hit"] > 0).sum() >= 8
    numpy.testing.assert_array_equal(runs["first_hit"][::2], runs["first_hit"][1::2])
    numpy.testing.assert_array_equal(runs["error"][::2], runs["error"][1::2])


def test_an_exception_of_a_users_rules_ends_a_threaded_run():
    def broken(xl, xr, zl, zr, c):
        raise KeyError("mine")

    mine = velmora.Method(charact=broken, new_point=velmora.meeting_point)
    with pytest.raises(KeyError, match="mine"):
        velmora.class_run("hill", 20, [mine], jobs=2)


@pytest.mark.parametrize("call,words", [
    (lambda: velmora.search("x[0]", (3, 1), method="scan", steps=5), "bounds: A must be less than B"),
    (lambda: velmora.search("x[0]", (float("nan"), 1), method="scan", steps=5), 'bounds[0]: "nan" is not a finite number'),
    (lambda: velmora.search("x[0]", (0, 1), method="strongin", param=0.5, steps=5),
     "param: the multiplier of strongin must be greater than 1"),
    (lambda: velmora.search("x[0]", (0, 1), method="scan", param=2, steps=5), "param is not used by the scan method"),
    (lambda: velmora.search("x[0]", (0, 1), method="scan", steps=0), 'steps: "0" is out of range'),
    (lambda: velmora.class_run("hill", 3, max_trials=1), 'max_trials: "1" is out of range'),
    (lambda: velmora.class_run("hill", 3, delta=0), "delta must be greater than 0"),
    (lambda: velmora.class_run("hill", 3, params={"strongin": 1}), 'params["strongin"]: the multiplier r must be'),
    (lambda: velmora.class_run("hill", 3, jobs=0), 'jobs: "0" is out of range'),
    (lambda: velmora.test_set("hansen20", seeds=0), 'seeds: "0" is out of range'),
    (lambda: velmora.test_set("hansen20", ["nlopt-direct"]), "give steps=N, not the interval rule of eps_rel"),
    (lambda: velmora.test_set("/nonexistent/set.tsv"), "/nonexistent/set.tsv: cannot open the file"),
    (lambda: velmora.class_run("hill", 3, ["strongin", "strongin"]), "methods names strongin twice"),
], ids=["reversed-bounds", "nan-bound", "multiplier", "unused-param", "no-steps", "max-trials", "delta",
        "plan-param", "jobs", "seeds", "budget-only", "missing-file", "twice"])
def test_errors_name_pythons_parameters(call, words):
    with pytest.raises(ValueError) as raised:
        call()
    assert words in str(raised.value)
    assert "--" not in str(raised.value)


@pytest.mark.parametrize("name", ["search", "Method", "class_run", "test_set", "operational"])
def test_docstring_examples_run(name):
    obj = getattr(velmora, name)
    test = doctest.DocTestParser().get_doctest(obj.__doc__, {"velmora": velmora, "np": numpy}, name, None, 0)
    assert test.examples, "the docstring has an example"
    runner = doctest.DocTestRunner(optionflags=doctest.ELLIPSIS)
    runner.run(test)
    assert runner.failures == 0
