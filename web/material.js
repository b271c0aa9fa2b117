// The material of the strength analysis, as the desktop's analysis window
// offers it: a steel of the core's library (its E and μ typed into their
// boxes, Rm and the limits derived from it set) or a name of the user's own,
// whose numbers stay the user's (用户数据). The line beside the box comes
// from the core too.

let choose = () => {};

// Builds the box above the analysis inputs once, then shows the design's
// material and its line. `session.materials()` is the core's library as
// JSON, `session.choose(name)` chooses as the window does.
export function showMaterial(view, session) {
  choose = session.choose;
  const library = JSON.parse(session.materials());
  let input = document.getElementById('material');
  if (!input) {
    const row = Object.assign(document.createElement('div'), { id: 'materialRow' });
    const label = document.createElement('label');
    label.textContent = '材料 ';
    input = Object.assign(document.createElement('input'), { type: 'text', id: 'material', title: library.toolTip });
    input.setAttribute('list', 'materialList');
    input.setAttribute('autocomplete', 'off');
    const list = Object.assign(document.createElement('datalist'), { id: 'materialList' });
    for (const m of library.materials) {
      list.appendChild(Object.assign(document.createElement('option'), { value: m.name, label: m.standard }));
    }
    // As the desktop's box: a choice from the list, or a name typed and left.
    input.addEventListener('change', () => choose(input.value.trim()));
    label.append(input, list);
    row.append(label, Object.assign(document.createElement('span'), { id: 'materialNote' }));
    const inputs = document.getElementById('analysisInputs');
    inputs.parentNode.insertBefore(row, inputs);
  }
  const name = view.extras.material ?? '';
  if (document.activeElement !== input && input.value !== name) input.value = name;
  const note = document.getElementById('materialNote');
  if (note.textContent !== library.note) {
    note.textContent = library.note;
    note.title = library.note;
  }
}
