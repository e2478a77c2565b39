#!/usr/bin/python3
"""Reads UsagramCmd's graph exports with real consumers and checks them.

  check_graph.py json FILE README   -- json.tool parses it; valid against the README's schema
  check_graph.py graphml FILE       -- networkx reads it; prints nodes and edges
  check_graph.py csv FILE           -- the csv module reads it; prints the rows
Exit code 1 with the reason on standard error when a check fails.
"""
import csv
import json
import re
import subprocess
import sys


def fail(text):
    sys.stderr.write(text + "\n")
    sys.exit(1)


def check_json(path, readme):
    subprocess.run([sys.executable, "-m", "json.tool", path], check=True, stdout=subprocess.DEVNULL)
    text = open(readme, encoding="utf-8").read()
    block = re.search(r"schema \(JSON Schema 2020-12[^\n]*\n[^\n]*\n\n```json\n(.*?)```", text, re.S)
    if not block:
        fail("no schema block in the README")
    import jsonschema
    schema = json.loads(block.group(1))
    jsonschema.Draft202012Validator.check_schema(schema)
    data = json.load(open(path, encoding="utf-8"))
    errors = list(jsonschema.Draft202012Validator(schema).iter_errors(data))
    if errors:
        fail("; ".join(f"{list(e.path)}: {e.message}" for e in errors))
    # Every name the lists and cycles give is a unit of the model.
    names = {u["name"] for u in data["units"]}
    for u in data["units"]:
        for used in u["interface"] + u["implementation"]:
            if used not in names:
                fail(f"{u['name']} uses {used}, which is no unit")
    for c in data["cycles"]["errors"] + data["cycles"]["components"]:
        steps = c["cycle"]
        if steps[-1]["to"] != steps[0]["from"] or any(a["to"] != b["from"] for a, b in zip(steps, steps[1:])):
            fail(f"not a cycle: {steps}")
    print("valid")


def check_graphml(path):
    import networkx
    g = networkx.read_graphml(path)
    for n, d in sorted(g.nodes(data=True), key=lambda x: int(x[0][1:])):
        print("node", d["label"], d["kind"], d["colour"], d["r"], d["g"], d["b"], sep="\t")
    for a, b, d in g.edges(data=True):
        print("edge", g.nodes[a]["label"], g.nodes[b]["label"], d["clause"], sep="\t")


def check_csv(path):
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    if rows[0] != ["from", "to", "clause"]:
        fail(f"header {rows[0]}")
    for row in rows[1:]:
        if len(row) != 3 or row[2] not in ("interface", "implementation"):
            fail(f"row {row}")
        print(*row, sep="\t")


if __name__ == "__main__":
    kind = sys.argv[1]
    if kind == "json":
        check_json(sys.argv[2], sys.argv[3])
    elif kind == "graphml":
        check_graphml(sys.argv[2])
    elif kind == "csv":
        check_csv(sys.argv[2])
    else:
        fail("unknown check " + kind)
