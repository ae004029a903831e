"""Type stubs of the module zantro: FIR filter design with Zantro's engine."""
from typing import Any, Literal, Optional, Sequence, Tuple, Union

import numpy as np
import numpy.typing as npt

__version__: str

class DesignError(ValueError):
    """A refused parameter or a failed design, read or write; the message is the program's own text."""

FilterType = Union[Literal["lowpass", "highpass", "bandpass", "bandstop", "hilbert", "differentiator", "gaussian",
                           "allpass", "moving-average"], int]
Method = Union[Literal["sinc", "fsamp", "remez", "direct", "ls"], int]
Pulse = Literal["rc", "rrc", "gaussian"]
Window = Union[Literal["rectangular", "hanning", "hamming", "blackman", "chebyshev", "kaiser"], int]
Scaling = Union[Literal["natural", "normalized", "optimized", "custom"], int]
RemezRow = Tuple[int, int, float, float]
BandKind = Literal["pass", "stop", "slope"]
MeasureBand = Union[Tuple[float, float, BandKind], Tuple[float, float, BandKind, float]]
QuantFormat = Union[Literal["q7", "q15", "q31"], int, str]
Rounding = Literal["nearest", "truncate"]
Profile = Literal["cmsis-f32", "cmsis-q31", "cmsis-q15", "cmsis-q7", "c-fixed", "c-float", "c-double", "csv", "json",
                  "coe", "vhdl", "verilog", "cmsis-decimate-f32", "cmsis-decimate-q31", "cmsis-decimate-q15",
                  "cmsis-interpolate-f32", "cmsis-interpolate-q31", "cmsis-interpolate-q15", "c-polyphase",
                  "vhdl-fir", "verilog-fir"]

class Design:
    """A finished design: taps, status, messages and figures."""
    @property
    def taps(self) -> npt.NDArray[np.float64]:
        """The taps, a read-only float64 numpy array."""
    @property
    def converged(self) -> bool:
        """False when a Remez design did not converge (its best taps are kept); else True."""
    @property
    def passes(self) -> Optional[int]:
        """The exchange passes of a Remez design; None for the other methods."""
    @property
    def messages(self) -> list[str]:
        """The form's notes after the design, in order."""
    @property
    def analysis(self) -> dict[str, Any]:
        """The achieved figures, as zantro-cli's JSON "analysis" object."""
    @property
    def parameters(self) -> dict[str, Any]:
        """The keywords that give this design again: zantro.design(**d.parameters)."""
    @property
    def fs(self) -> float:
        """The sampling rate in Hz."""
    @property
    def gain(self) -> float:
        """The scale factor the scaling applied to the taps."""
    @property
    def ir_peak(self) -> float:
        """The largest tap magnitude before scaling."""
    @property
    def scale_text(self) -> str:
        """The scale factor as the form's scale field shows it."""
    @property
    def fir_type(self) -> int:
        """The linear-phase type 0..3."""
    @property
    def multirate(self) -> Optional[dict[str, Any]]:
        """A rate change's figures (zantro-cli's "multirate" object); None for other designs."""
    @property
    def methods(self) -> Optional[dict[str, Any]]:
        """What least squares, minimum phase, a pulse or a shaped response report; None for the form's methods."""
    @property
    def requirement(self) -> Optional[dict[str, Any]]:
        """zantro.to_requirement's search result; None for other designs."""
    def quantize(self, format: QuantFormat, rounding: Rounding = "nearest") -> dict[str, Any]:
        """The taps as fixed-point words with their figures (the analysis' "quantized" object)."""
    def save(self, path: str) -> None:
        """Writes the design's parameters as a ".fir" document."""
    def __len__(self) -> int: ...

def design(
    *,
    type: Optional[FilterType] = None,
    method: Optional[Method] = None,
    window: Optional[Window] = None,
    taps: Optional[int] = None,
    fs: Optional[float] = None,
    f1: Optional[float] = None,
    f2: Optional[float] = None,
    scaling: Optional[Scaling] = None,
    scale: Optional[float] = None,
    sinx: Optional[bool] = None,
    att: Optional[int] = None,
    beta: Optional[float] = None,
    gain: Optional[Union[Literal["pi", "pi/2"], float]] = None,
    sigma: Optional[float] = None,
    grid: Optional[int] = None,
    preset: Optional[Union[int, str]] = None,
    bands: Optional[Sequence[RemezRow]] = None,
    points: Optional[Union[Sequence[float], npt.ArrayLike]] = None,
    decimate: Optional[int] = None,
    interpolate: Optional[int] = None,
    halfband: Optional[bool] = None,
    alias_bands: Optional[bool] = None,
    min_phase: Optional[bool] = None,
    pulse: Optional[Pulse] = None,
    rolloff: Optional[float] = None,
    bt: Optional[float] = None,
    sps: Optional[int] = None,
    span: Optional[int] = None,
    pulse_gain: Optional[Literal["energy", "dc"]] = None,
    cic_comp: Optional[Tuple[int, int, int]] = None,
    inverse_sinc: Optional[bool] = None,
) -> Design:
    """Designs a filter as the form's Design button does; None keeps the form's value."""

def to_requirement(
    *,
    pass_bands: Sequence[Tuple[float, float, float]],
    stop_bands: Sequence[Union[Tuple[float, float, float], Tuple[Literal["alias"], float]]],
    fs: float = 8000.0,
    method: Literal["remez", "sinc"] = "remez",
    quantize: Optional[QuantFormat] = None,
    type: Optional[FilterType] = None,
    grid: Optional[int] = None,
    decimate: Optional[int] = None,
    interpolate: Optional[int] = None,
    halfband: Optional[bool] = None,
    alias_bands: Optional[bool] = None,
    optimize_words: bool = False,
) -> Design:
    """The design with the fewest taps that meets every pass band's ripple and stop band's attenuation."""

def measure(
    taps: Union[Sequence[float], npt.ArrayLike],
    fs: float,
    bands: Optional[Sequence[MeasureBand]] = None,
    quantize: Optional[QuantFormat] = None,
    rounding: Rounding = "nearest",
) -> dict[str, Any]:
    """The achieved figures of any taps, as zantro-cli's JSON "analysis" object."""

def export(
    design: Design,
    profile: Profile,
    root: str,
    *,
    word_length: int = 16,
    rounding: Rounding = "nearest",
    block: int = 32,
    helium: bool = False,
    input_bits: int = 16,
    output_bits: Optional[int] = None,
    testbench: bool = False,
    optimize_words: bool = False,
    pass_bands: Optional[Sequence[Tuple[float, float, float]]] = None,
    stop_bands: Optional[Sequence[Tuple[float, float, float]]] = None,
) -> list[str]:
    """Writes the design for a target as zantro-cli --export does; returns the paths written.

    input_bits (2..32), output_bits (2..128, None: the accumulator's width) and
    testbench (also root_tb.vhd or root_tb.v) shape the vhdl-fir and verilog-fir filters.
    """

def optimize_words(
    taps: Union[Sequence[float], npt.ArrayLike],
    fs: float,
    quantize: QuantFormat,
    *,
    pass_bands: Optional[Sequence[Tuple[float, float, float]]] = None,
    stop_bands: Optional[Sequence[Tuple[float, float, float]]] = None,
    bands: Optional[Sequence[MeasureBand]] = None,
    rounding: Rounding = "nearest",
) -> dict[str, Any]:
    """Fixed-point words chosen to meet the bands rather than rounded, as zantro-cli's "optimized" object."""

def fewest_bits(
    taps: Union[Sequence[float], npt.ArrayLike],
    fs: float,
    *,
    pass_bands: Optional[Sequence[Tuple[float, float, float]]] = None,
    stop_bands: Optional[Sequence[Tuple[float, float, float]]] = None,
    optimize: bool = True,
    rounding: Rounding = "nearest",
) -> dict[str, Any]:
    """The shortest word whose words (chosen, or rounded) meet the bands, as zantro-cli's "fewest_bits" object."""

def read_fir(path: str) -> Design:
    """Opens a ".fir" document and designs it with the values it holds."""
