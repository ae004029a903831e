"""Type stubs of the module zantro: FIR filter design with Zantro's engine."""
from typing import Any, Literal, Optional, Sequence, Tuple, Union

import numpy as np
import numpy.typing as npt

__version__: str

class DesignError(ValueError):
    """A refused parameter or a failed design, read or write; the message is the program's own text."""

BandKind = Literal["pass", "stop", "slope"]
MeasureBand = Union[Tuple[float, float, BandKind], Tuple[float, float, BandKind, float]]
QuantFormat = Union[Literal["q7", "q15", "q31"], int, str]
Rounding = Literal["nearest", "truncate"]

def measure(
    taps: Union[Sequence[float], npt.ArrayLike],
    fs: float,
    bands: Optional[Sequence[MeasureBand]] = None,
    quantize: Optional[QuantFormat] = None,
    rounding: Rounding = "nearest",
) -> dict[str, Any]:
    """The achieved figures of any taps, as zantro-cli's JSON "analysis" object."""
