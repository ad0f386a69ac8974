# Run by scripts/check-paraview under pvbatch: opens each file given (a VTK file or a file-series
# index) as ParaView does, with the reader it picks from the name, and reads it at every time step.
# Prints one line per file; exits 1 when a file has no reader or a step has no points or cells.
import sys

from paraview.simple import OpenDataFile

failed = 0
for path in sys.argv[1:]:
    try:
        source = OpenDataFile(path)
    except RuntimeError as e:  # "File not readable. No reader found for ..."
        source, problem = None, str(e).strip()
    else:
        problem = "No reader found"
    if source is None:
        # After one failed lookup ParaView finds no reader for any later file either.
        print(f"{path}: {problem}; the files after it are not tried")
        sys.exit(1)
    # One time is given as a number, several as a list, none as an empty list.
    times = getattr(source, "TimestepValues", None)
    times = [times] if isinstance(times, (int, float)) else list(times or []) or [None]
    empty = []
    for time in times:
        if time is None:
            source.UpdatePipeline()
        else:
            source.UpdatePipeline(time)
        info = source.GetDataInformation()
        if info.GetNumberOfPoints() == 0 or info.GetNumberOfCells() == 0:
            empty.append("last" if time is None else str(time))
    if empty:
        print(f"{path}: no points or cells at step {', '.join(empty)}")
        failed = 1
    else:
        print(f"{path}: {source.GetXMLName()}, {len(times)} step(s)")
sys.exit(failed)
