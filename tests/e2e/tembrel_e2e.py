#!/usr/bin/env python3
"""Runs one end-to-end case of Tembrel under a display of its own:

    tembrel_e2e.py --program TEMBREL --reader NETWORK_LINK_READER --sim TEMBREL_SIM
                   --artefacts DIR [--wine] [--standin EARTH_STANDIN] CASE

Screenshots, logs and the plan go to DIR/CASE. Exit status 0 when the case
passes, 1 when it fails, 77 when it cannot run in this build (skipped, with the
reason)."""

import argparse
import os
import signal
import sys
import time
import traceback

from cases import CASES
from standin_cases import STANDIN_CASES
from harness import Harness
from x11_session import Failure


SKIPPED = 77


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", required=True, help="the tembrel executable")
    parser.add_argument("--reader", required=True, help="the network-link-reader executable")
    parser.add_argument("--sim", required=True, help="the tembrel-sim executable")
    parser.add_argument("--artefacts", required=True, help="where screenshots and logs go")
    parser.add_argument("--wine", action="store_true",
                        help="the program is the Windows build, run through Wine")
    parser.add_argument("--standin", help="the earth-standin executable")
    parser.add_argument("--without-live-server", action="store_true",
                        help="the program was built without its view server")
    cases = dict(CASES, **STANDIN_CASES)
    parser.add_argument("case", choices=sorted(cases))
    options = parser.parse_args()
    for tool in ("program", "reader", "sim", "artefacts", "standin"):
        if getattr(options, tool) is not None:
            setattr(options, tool, os.path.abspath(getattr(options, tool)))
    case = cases[options.case]
    if getattr(case, "needs_live_server", False) and options.without_live_server:
        print(f"SKIPPED {options.case}: the program was built without its view server")
        return SKIPPED

    # A terminated run still ends its processes and its display.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(f"{options.case}: terminated"))

    started = time.monotonic()
    harness = Harness(options, options.case)
    try:
        with harness:
            print(f"{options.case}: {' '.join(case.__doc__.split())}", flush=True)
            case(harness)
            harness.check_program_logs()
    except Failure as failure:
        print(f"FAILED {options.case} after {time.monotonic() - started:.1f} s: {failure}")
        print(f"artefacts: {harness.artefacts}")
        return 1
    except Exception:
        traceback.print_exc()
        print(f"ERROR in {options.case} after {time.monotonic() - started:.1f} s")
        return 1
    print(f"passed {options.case} in {time.monotonic() - started:.1f} s; "
          f"artefacts: {harness.artefacts}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
