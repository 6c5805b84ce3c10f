"""pytest fixtures of the end-to-end scenarios: `session` (a fresh WineSession per scenario)."""

import shutil
import sys
import time
from pathlib import Path

import pytest

sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402
import wine_env  # noqa: E402


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    outcome = yield
    report = outcome.get_result()
    setattr(item, "report_" + report.when, report)


_overhead = {"setup": [], "teardown": [], "boot": []}


def pytest_terminal_summary(terminalreporter):
    """Figures, not checks: what a fresh session costs per scenario."""
    if _overhead["setup"]:
        count = len(_overhead["setup"])
        terminalreporter.write_line(
            "harness: %d scenarios; on average %.1f s setup (prefix copy, display), %.1f s Wine session "
            "start(s), %.1f s teardown" % (count, sum(_overhead["setup"]) / count,
                                          sum(_overhead["boot"]) / count, sum(_overhead["teardown"]) / count))


@pytest.fixture(scope="session")
def wine_template():
    """The test run's template prefix (ctest's wine.template makes it; made here when missing)."""
    template, _ = wine_env.make_template(harness.wine_dir(), reuse=True)
    return template


@pytest.fixture(scope="session")
def build_dir():
    return harness.build_dir()


def _artifacts_dir(item):
    name = item.nodeid.split("::", 1)[-1]
    stem = Path(item.nodeid.split("::", 1)[0]).stem
    safe = "".join(c if c.isalnum() or c in "-_." else "_" for c in "%s.%s" % (stem, name))
    return harness.build_dir() / "e2e-artifacts" / safe


@pytest.fixture
def session(request, wine_template):
    """A WineSession with its own prefix, HOME and display. After the scenario: the scratch HOME
    holds nothing but .cache and the real home directory gained nothing. When the scenario
    failed, a screenshot and the logs are kept under <build>/e2e-artifacts/<scenario>/."""
    real_home_before = harness.home_snapshot()
    started = time.monotonic()
    s = harness.WineSession(request.node.nodeid, template_dir=wine_template)
    _overhead["setup"].append(time.monotonic() - started)
    try:
        yield s
    finally:
        started = time.monotonic()
        report = getattr(request.node, "report_call", None)
        failed = report is None or report.failed
        artifacts = _artifacts_dir(request.node)
        shutil.rmtree(artifacts, ignore_errors=True)   # what an earlier failed run left
        if failed:
            artifacts.mkdir(parents=True, exist_ok=True)
            try:
                s.screen.screenshot(artifacts / "screen.png")
            except Exception as e:  # the display may be gone: keep the logs all the same
                (artifacts / "screenshot-failed.txt").write_text(str(e))
        try:
            s.close()
        finally:
            if failed:
                shutil.copytree(s.logs, artifacts / "logs", dirs_exist_ok=True)
            scratch_leftovers = wine_env.home_leftovers(s.home)
            s.remove()
            _overhead["teardown"].append(time.monotonic() - started)
            _overhead["boot"].append(sum(s.wine.boot_seconds))
    added = harness.home_snapshot() - real_home_before
    assert not scratch_leftovers, "the scenario wrote into its scratch HOME: %s" % scratch_leftovers
    assert not added, "the scenario wrote into the real home directory: %s" % sorted(added)
