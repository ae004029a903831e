"""Type stubs of the module zantro: FIR filter design with Zantro's engine."""
import os
from typing import Any, Iterator, Literal, Optional, Sequence, SupportsFloat, SupportsIndex, Tuple, Union, overload

import numpy as np
import numpy.typing as npt

__version__: str

class DesignError(ValueError):
    """A refused parameter or a failed design, read or write; the message is the program's own text."""

# Any integer-like value (int, a numpy integer) where a whole number is
# asked, and any real one (float, a numpy float) where a number is; a real
# value asked as a whole number must have no fraction.
Whole = Union[SupportsIndex, SupportsFloat]
Real = Union[SupportsFloat, SupportsIndex]
Path = Union[str, bytes, os.PathLike[str], os.PathLike[bytes]]
FilterType = Union[Literal["lowpass", "highpass", "bandpass", "bandstop", "hilbert", "differentiator", "gaussian",
                           "allpass", "moving-average"], SupportsIndex]
Method = Union[Literal["sinc", "fsamp", "remez", "direct", "ls"], SupportsIndex]
Pulse = Literal["rc", "rrc", "gaussian"]
WindowName = Literal["rectangular", "hanning", "hamming", "blackman", "chebyshev", "kaiser",
                     # scipy.signal.get_window's names of the same windows
                     "boxcar", "box", "ones", "rect", "hann", "han", "hamm", "ham", "black", "blk", "chebwin",
                     "cheb", "ksr"]
Window = Union[WindowName, SupportsIndex, Tuple[Literal["kaiser", "ksr"], Real],
               Tuple[Literal["chebwin", "cheb", "chebyshev"], Whole]]
Scaling = Union[Literal["natural", "normalized", "optimized", "custom"], SupportsIndex]
# Rows of a table: tuples or lists, or the rows of a 2-d numpy array.
RemezRow = Sequence[Real]
BandKind = Literal["pass", "stop", "slope"]
MeasureBand = Union[Tuple[Real, Real, BandKind], Tuple[Real, Real, BandKind, Real]]
SpecRow = Sequence[Real]
Taps = Union[Sequence[Real], npt.ArrayLike]
QuantFormat = Union[Literal["q7", "q15", "q31"], Whole, str]
Rounding = Literal["nearest", "truncate"]
Profile = Literal["cmsis-f32", "cmsis-q31", "cmsis-q15", "cmsis-q7", "c-fixed", "c-float", "c-double", "csv", "json",
                  "coe", "vhdl", "verilog", "cmsis-decimate-f32", "cmsis-decimate-q31", "cmsis-decimate-q15",
                  "cmsis-interpolate-f32", "cmsis-interpolate-q31", "cmsis-interpolate-q15", "c-polyphase",
                  "vhdl-fir", "verilog-fir"]

class Design:
    """A finished design: taps, status, messages and figures; a read-only sequence and array of its taps."""
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
    def save(self, path: Path) -> None:
        """Writes the design's parameters as a ".fir" document."""
    def __len__(self) -> int: ...
    @overload
    def __getitem__(self, key: SupportsIndex) -> np.float64: ...
    @overload
    def __getitem__(self, key: slice) -> npt.NDArray[np.float64]: ...
    def __iter__(self) -> Iterator[np.float64]: ...
    def __array__(self, dtype: Optional[npt.DTypeLike] = None, copy: Optional[bool] = None) -> npt.NDArray[Any]: ...
    def __eq__(self, other: object) -> bool: ...
    def __hash__(self) -> int: ...
    def __copy__(self) -> "Design": ...
    def __deepcopy__(self, memo: dict[int, Any]) -> "Design": ...

def design(
    *,
    type: Optional[FilterType] = None,
    method: Optional[Method] = None,
    window: Optional[Window] = None,
    taps: Optional[Whole] = None,
    fs: Optional[Whole] = None,
    f1: Optional[Whole] = None,
    f2: Optional[Whole] = None,
    scaling: Optional[Scaling] = None,
    scale: Optional[Real] = None,
    sinx: Optional[bool] = None,
    att: Optional[Whole] = None,
    beta: Optional[Real] = None,
    gain: Optional[Union[Literal["pi", "pi/2"], Real]] = None,
    sigma: Optional[Real] = None,
    grid: Optional[Whole] = None,
    preset: Optional[Union[SupportsIndex, str]] = None,
    bands: Optional[Sequence[RemezRow]] = None,
    points: Optional[Taps] = None,
    decimate: Optional[Whole] = None,
    interpolate: Optional[Whole] = None,
    halfband: Optional[bool] = None,
    alias_bands: Optional[bool] = None,
    min_phase: Optional[bool] = None,
    pulse: Optional[Pulse] = None,
    rolloff: Optional[Real] = None,
    bt: Optional[Real] = None,
    sps: Optional[Whole] = None,
    span: Optional[Whole] = None,
    pulse_gain: Optional[Literal["energy", "dc"]] = None,
    cic_comp: Optional[Sequence[Whole]] = None,
    inverse_sinc: Optional[bool] = None,
) -> Design:
    """Designs a filter as the form's Design button does; None keeps the form's value."""

def to_requirement(
    *,
    pass_bands: Sequence[SpecRow],
    stop_bands: Sequence[Union[SpecRow, Tuple[Literal["alias"], Real]]],
    fs: Real = 8000.0,
    method: Literal["remez", "sinc"] = "remez",
    quantize: Optional[QuantFormat] = None,
    type: Optional[FilterType] = None,
    grid: Optional[Whole] = None,
    decimate: Optional[Whole] = None,
    interpolate: Optional[Whole] = None,
    halfband: Optional[bool] = None,
    alias_bands: Optional[bool] = None,
    optimize_words: bool = False,
) -> Design:
    """The design with the fewest taps that meets every pass band's ripple and stop band's attenuation."""

def measure(
    taps: Taps,
    fs: Real,
    bands: Optional[Sequence[MeasureBand]] = None,
    quantize: Optional[QuantFormat] = None,
    rounding: Rounding = "nearest",
) -> dict[str, Any]:
    """The achieved figures of any taps, as zantro-cli's JSON "analysis" object."""

def export(
    design: Union[Design, Taps],
    profile: Profile,
    root: Path,
    *,
    fs: Optional[Real] = None,
    bands: Optional[Sequence[MeasureBand]] = None,
    pass_bands: Optional[Sequence[SpecRow]] = None,
    stop_bands: Optional[Sequence[SpecRow]] = None,
    source: Optional[str] = None,
    word_length: Whole = 16,
    rounding: Rounding = "nearest",
    block: Whole = 32,
    helium: bool = False,
    input_bits: Whole = 16,
    output_bits: Optional[Whole] = None,
    architecture: Literal["parallel", "folded", "multiplierless"] = "parallel",
    clocks_per_sample: Optional[Whole] = None,
    pipeline: bool = False,
    stream: bool = False,
    testbench: bool = False,
    optimize_words: bool = False,
) -> list[str]:
    """Writes a design, or taps designed elsewhere, for a target as zantro-cli --export does; returns the paths written.

    Taps designed elsewhere (a sequence or 1-d array) need fs; bands are measured
    as zantro.measure measures them, pass_bands and stop_bands are a requirement
    the header judges, source names where the taps came from ("Python").
    input_bits (2..32), output_bits (2..128, None: the accumulator's width),
    architecture, clocks_per_sample (1..1024, folded only; None: 4), pipeline,
    stream (an AXI4-Stream wrapper) and testbench (a self-checking testbench)
    shape the vhdl-fir and verilog-fir filters. optimize_words: the fixed-point
    profiles write words chosen for pass_bands and stop_bands (or the design's
    own figures) rather than rounded.
    """

def optimize_words(
    taps: Taps,
    fs: Real,
    quantize: QuantFormat,
    *,
    pass_bands: Optional[Sequence[SpecRow]] = None,
    stop_bands: Optional[Sequence[SpecRow]] = None,
    bands: Optional[Sequence[MeasureBand]] = None,
    rounding: Rounding = "nearest",
) -> dict[str, Any]:
    """Fixed-point words chosen to meet the bands rather than rounded, as zantro-cli's "optimized" object."""

def fewest_bits(
    taps: Taps,
    fs: Real,
    *,
    pass_bands: Optional[Sequence[SpecRow]] = None,
    stop_bands: Optional[Sequence[SpecRow]] = None,
    optimize: bool = True,
    rounding: Rounding = "nearest",
) -> dict[str, Any]:
    """The shortest word whose words (chosen, or rounded) meet the bands, as zantro-cli's "fewest_bits" object."""

def read_fir(path: Path) -> Design:
    """Opens a ".fir" document and designs it with the values it holds."""
