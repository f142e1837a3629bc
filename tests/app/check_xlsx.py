"""loadcalc --export OUT.xlsx BOOK, read back with openpyxl: every sheet's cells as written out
below, results as numbers and texts as texts, whatever the decimal sign of the locale the program
runs in (the test runs it under a comma-decimal one).

usage: check_xlsx.py BOOK OUT.xlsx PROGRAM...
PROGRAM...: the program's command, after an emulator where one runs it (the Windows build under
Wine, whose workbook is read back here the same way).
"""
import os
import subprocess
import sys

try:
    import openpyxl
except ImportError:
    sys.exit("openpyxl is not installed: install the Debian package python3-openpyxl "
             "(scripts/install-deps test)")

book, out, *program = sys.argv[1:]
if os.path.exists(out):
    os.remove(out)
env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
run = subprocess.run([*program, "--export", out, book], env=env, capture_output=True, text=True,
                     timeout=60)
if run.returncode != 0 or run.stderr:
    sys.exit(f"loadcalc exited with {run.returncode}:\n{run.stderr}")

BAD = "无效：踏步高度≤0或≥200，数据错误。请重新输入！"
BEAM = ("4.0", "3.6", "0.45", "2.0", "2.2", "3.0", "0.50", "0.0")
STAIR = ("280", "160", "130", "30", "22.0")
expected = {
    "汇总": [
        ("序号", "构件", "类型", "结果", "单位", "墙自重取值(kN/m²)", "洞口总面积(m²)"),
        (1, "KL3 ③~④轴", "梁上线荷载", 6.7, "kN/m", 3, 4.4),
        (2, "LT-1", "楼梯恒荷载", BAD, None, None, None),
        # A NUL is escaped as the format escapes control characters, the text after it kept.
        (3, "=SUM(A1)_x0000__x0001_", "梁上线荷载", 7.006, "kN/m", 3, 4.4),
        (4, "LT-2", "楼梯恒荷载", 7.172, "kN/m^2", None, None),
    ],
    "梁上线荷载": [
        ("序号", "构件", "轴线开间尺寸(m)", "层高(m)", "框架梁高(m)", "门窗洞口宽度(m)",
         "门窗洞口高度(m)", "墙自重(kN/m²)", "窗重(kN/m²)", "框架柱宽(m)", "结果", "单位",
         "墙自重取值(kN/m²)", "洞口总面积(m²)", "检查", "备注"),
        (1, "KL3 ③~④轴") + BEAM + (6.7, "kN/m", 3, 4.4, None, "=见结施-05\n第二行"),
        (3, "=SUM(A1)_x0000__x0001_", "4.5") + BEAM[1:] + (7.006, "kN/m", 3, 4.4, None, None),
    ],
    "楼梯恒荷载": [
        ("序号", "构件", "踏步宽度(mm)", "踏步高度(mm)", "楼梯板厚度(mm)", "面层厚度(mm)",
         "面层容重(kN/m³)", "结果", "单位", "检查", "备注"),
        (2, "LT-1", "280", "200", "130", "30", "22.0", None, None, BAD, None),
        (4, "LT-2") + STAIR + (7.172, "kN/m^2", None, "首层"),
    ],
}

wb = openpyxl.load_workbook(out)
faults = []
if wb.sheetnames != list(expected):
    faults.append(f"sheets {wb.sheetnames}, not {list(expected)}")
if (wb.properties.title, wb.properties.creator) != ("某办公楼", "张三"):
    faults.append(f"title and author {wb.properties.title!r}, {wb.properties.creator!r}")
for name, rows in expected.items():
    if name not in wb.sheetnames:
        continue
    got = list(wb[name].iter_rows(values_only=True))
    if got != rows:
        faults.append(f"sheet {name}:\n  got      {got}\n  expected {rows}")
    for row in wb[name].iter_rows(min_row=2):
        for cell in row:
            # Numbers are numbers (type n), every text a text (s), never a formula (f).
            want = "s" if isinstance(cell.value, str) else "n"
            if cell.value is not None and cell.data_type != want:
                faults.append(f"{name}!{cell.coordinate} {cell.value!r} is of type {cell.data_type}")
os.remove(out)
if faults:
    sys.exit("\n".join(faults))
