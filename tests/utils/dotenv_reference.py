"""What Debian's python-dotenv makes of an environment file, as one JSON object.

  dotenv_reference.py FILE          {"file_first": [[key, value], ...],
                                     "environment_first": [[key, value], ...], "faults": n}
  dotenv_reference.py --load FILE   {"loaded": bool, "environment": {key: value or null}}

"file_first" is dotenv_values(); "environment_first" is what load_dotenv() expands
with. "faults" counts the statements it warned about.
"""
import json
import logging
import os
import sys

from dotenv import dotenv_values, load_dotenv
from dotenv.main import DotEnv


class Counter(logging.Handler):
    faults = 0

    def emit(self, record):
        Counter.faults += 1


def main():
    if sys.argv[1] == "--load":
        path = sys.argv[2]
        keys = list(dotenv_values(path))
        loaded = load_dotenv(path)
        print(json.dumps({"loaded": loaded, "environment": {key: os.environ.get(key) for key in keys}}))
        return
    path = sys.argv[1]
    logging.getLogger("dotenv.main").addHandler(Counter())
    file_first = list(dotenv_values(path).items())
    faults = Counter.faults
    environment_first = list(DotEnv(path, override=False).dict().items())
    print(json.dumps({"file_first": file_first, "environment_first": environment_first, "faults": faults}))


if __name__ == "__main__":
    main()
