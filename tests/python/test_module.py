"""The module as an editor and help() see it: stubs, docstrings, the error class."""
import ast
import inspect
import os
import pydoc

import zantro

STUB = os.path.join(os.path.dirname(zantro.__file__), "zantro.pyi")


def public_names(module):
    return {name for name in dir(module) if not name.startswith("_")}


def stub_names():
    tree = ast.parse(open(STUB, encoding="utf-8").read())
    names = set()
    for node in tree.body:
        if isinstance(node, (ast.FunctionDef, ast.ClassDef)):
            names.add(node.name)
    return names


def test_stub_lies_beside_the_module_and_names_every_function_and_class():
    assert os.path.exists(STUB)
    objects = {n for n in public_names(zantro) if inspect.isclass(getattr(zantro, n)) or callable(getattr(zantro, n))}
    assert objects == stub_names()


def test_every_public_object_has_a_docstring():
    assert zantro.__doc__.startswith("FIR filter design")
    for name in public_names(zantro):
        obj = getattr(zantro, name)
        if callable(obj):
            assert obj.__doc__ and len(obj.__doc__) > 40, name
            for member, value in vars(obj).items() if inspect.isclass(obj) else []:
                if not member.startswith("_") and obj is not zantro.DesignError:
                    assert getattr(value, "__doc__", None), f"{name}.{member}"


def test_help_renders_every_function():
    text = pydoc.render_doc(zantro, renderer=pydoc.plaintext)
    for name in public_names(zantro):
        if callable(getattr(zantro, name)):
            assert name in text


def test_design_error_is_a_value_error():
    assert issubclass(zantro.DesignError, ValueError)
    try:
        zantro.measure([], 8000.0)
    except ValueError as error:
        assert type(error) is zantro.DesignError
