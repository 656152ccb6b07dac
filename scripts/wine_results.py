"""Reads one GoogleTest XML report and the expected-failures list; prints the counts and every difference.

Exit status 0 when every failing test is listed and the report is complete, 1 otherwise."""
import sys
import xml.etree.ElementTree as ElementTree


def expected_failures(path):
    listed = {}
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            name, _, reason = line.partition(" ")
            listed[name] = reason.strip()
    return listed


def main(report_path, list_path):
    try:
        report = ElementTree.parse(report_path)
    except (OSError, ElementTree.ParseError) as error:
        print(f"no complete report ({error}): the suite crashed or hung")
        return 1
    listed = expected_failures(list_path)
    passed, failed = [], []
    for case in report.iter("testcase"):
        if case.get("result", "completed") == "skipped":
            continue
        name = f"{case.get('classname')}.{case.get('name')}"
        (failed if case.find("failure") is not None else passed).append(name)
    unexpected = [name for name in failed if name not in listed]
    now_passing = [name for name in passed if name in listed]
    print(f"{len(passed)} passed, {len(failed)} failed ({len(failed) - len(unexpected)} expected)")
    for name in unexpected:
        print(f"UNEXPECTED FAILURE: {name}")
    for name in now_passing:
        print(f"listed as failing but passes: {name}")
    return 1 if unexpected else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
