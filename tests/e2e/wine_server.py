"""One prefix's wine server kept alive across the steps of a scenario, and the programs run in it."""

import subprocess
import time

import wine_env

# How long the wine server of a session waits for the next program once none is running: far
# longer than any pause between two steps of a scenario (a shorter wait would start a new session,
# with wineboot, in the middle of one).
SERVER_LINGER_SECONDS = 300


class WineProcess:
    """A Windows program started with WineServer.start()."""

    def __init__(self, popen, out_path):
        self.popen = popen
        self.out_path = out_path

    @property
    def returncode(self):
        return self.popen.poll()

    def running(self):
        return self.popen.poll() is None

    def wait(self, timeout=30):
        return self.popen.wait(timeout)

    def output(self):
        return self.out_path.read_text(errors="replace") if self.out_path.exists() else ""


class WineServer:
    """Boots on the first program (wineserver -p, then wineboot) and stays up until stop()."""

    def __init__(self, paths, env, logs):
        self.paths = paths
        self.env = env
        self.logs = logs
        self.live = False
        self.boot_seconds = []      # one figure per session start
        self._processes = []
        self._counter = 0

    def boot(self):
        """Starts the persistent wine server and the session (wineboot, the virtual desktop)."""
        if self.live:
            return
        started = time.monotonic()
        # Persistent between steps; a session that a killed test runner left behind ends on its own.
        wine_env.run_wine(["wineserver", "-p%d" % SERVER_LINGER_SECONDS], self.env, check=True)
        self.live = True
        self.run_wine(["wineboot"], timeout=120)
        self.boot_seconds.append(time.monotonic() - started)

    def stop(self):
        """Ends every program and the wine server; the registry is then saved in user.reg and
        system.reg. A later program boots a new session."""
        if not self.live:
            return
        wine_env.stop_server(self.env)
        for proc in self._processes:
            try:
                proc.wait(10)
            except subprocess.TimeoutExpired:
                proc.popen.kill()
        self.live = False

    def run_wine(self, argv, cwd=None, timeout=60, debug=None):
        if argv[:1] != ["wineboot"]:
            self.boot()
        env = self.env if debug is None else dict(self.env, WINEDEBUG=debug)
        return wine_env.run_wine(["wine"] + list(argv), env, cwd=self.paths.folder(cwd), timeout=timeout)

    def run(self, exe, *args, cwd=None, timeout=60, debug=None):
        """Runs a Windows program to its end; returns CompletedProcess (returncode, stdout and
        stderr as bytes). exe: a host path (/...) or a Windows path or name. cwd: host path or
        Windows path (made when missing); default C:\\. debug: WINEDEBUG for this program."""
        return self.run_wine([self.paths.program_arg(exe)] + list(args), cwd=cwd, timeout=timeout, debug=debug)

    def start(self, exe, *args, cwd=None):
        """Starts a Windows program and returns at once (a WineProcess)."""
        self.boot()
        self._counter += 1
        out = self.logs / ("program-%d.log" % self._counter)
        with open(out, "wb") as f:
            popen = subprocess.Popen(wine_env.wine_command(["wine", self.paths.program_arg(exe)] + list(args)),
                                     env=self.env, cwd=self.paths.folder(cwd), stdout=f, stderr=subprocess.STDOUT)
        proc = WineProcess(popen, out)
        self._processes.append(proc)
        return proc
