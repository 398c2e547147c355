import os
import sys

# The package from this source tree, whatever is installed elsewhere.
sys.path.insert(0, os.path.join(os.path.dirname(__file__), ".."))
