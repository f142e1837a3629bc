#!/usr/bin/env python3
"""Writes the web edition's site: index.html with loadcalc.wasm, loadcalc.js and loadcalc.css beside
it for a web server, and loadcalc.html with all of them inside (the module as base64), which works
opened from disk, where a page may not fetch a file.

pack.py WINDOW.html PAGE-TEMPLATE STYLE SCRIPT MODULE VERSION SITE-FOLDER"""
import base64
import pathlib
import shutil
import sys

window, template, style, script, module, version, site = sys.argv[1:]
site = pathlib.Path(site)
site.mkdir(parents=True, exist_ok=True)
title, body = pathlib.Path(window).read_text(encoding="utf-8").split("\n", 1)
page = pathlib.Path(template).read_text(encoding="utf-8")
page = page.replace("@TITLE@", title).replace("@VERSION@", version).replace("@WINDOW@", body)
style_text = pathlib.Path(style).read_text(encoding="utf-8")
script_text = pathlib.Path(script).read_text(encoding="utf-8")


def fill(style_html, script_html, wasm_html):
    return page.replace("@STYLE@", style_html).replace("@SCRIPT@", script_html).replace("@WASM@", wasm_html)


shutil.copyfile(module, site / "loadcalc.wasm")
shutil.copyfile(style, site / "loadcalc.css")
shutil.copyfile(script, site / "loadcalc.js")
(site / "index.html").write_text(
    fill('<link rel="stylesheet" href="loadcalc.css">', '<script src="loadcalc.js"></script>', ""),
    encoding="utf-8")
wasm = base64.b64encode(pathlib.Path(module).read_bytes()).decode("ascii")
(site / "loadcalc.html").write_text(
    fill(f"<style>\n{style_text}</style>",
         f"<script>\n{script_text}</script>",
         f'<script type="application/octet-stream" id="loadcalc-wasm">{wasm}</script>'),
    encoding="utf-8")
