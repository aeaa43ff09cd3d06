// The preview page: renders the Settings app's pages from /api/state, sends each change
// to the server (which makes it through the row's own control), and follows the server's
// version so every open tab shows every change and the home screen's latest picture.
"use strict";

const view = {
  state: null,
  version: 0,
  screen: 0,
  renderedPage: "",
  renderedShape: "",
};

const $ = (id) => document.getElementById(id);

function pagePath() {
  return decodeURIComponent(location.hash.replace(/^#\/?/, ""));
}

function say(message, isError) {
  const status = $("status");
  status.textContent = message;
  status.classList.toggle("error", Boolean(isError));
}

async function send(path, body) {
  const response = await fetch(path, {
    method: "POST",
    headers: { "Content-Type": "application/json" },
    body: JSON.stringify(body),
  });
  const reply = await response.json().catch(() => ({}));
  if (!response.ok) {
    say(reply.error || `refused (${response.status})`, true);
    await load();
    return false;
  }
  say("Saved; the lock screen shows it.");
  if (reply.version) await load();
  return true;
}

function changeSetting(key, value) {
  say("Saving…");
  return send("/api/settings", { page: pagePath(), key, value });
}

function slug(text) {
  return String(text).replace(/[^A-Za-z0-9_-]+/g, "-");
}

function element(tag, properties = {}, children = []) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(properties)) {
    if (name === "text") node.textContent = value;
    else if (name.startsWith("on")) node.addEventListener(name.slice(2), value);
    else if (value !== undefined && value !== null && value !== false) node.setAttribute(name, value === true ? "" : value);
  }
  for (const child of children) node.append(child);
  return node;
}

function rowId(row, index) {
  return "row-" + slug(row.key || row.label || index);
}

function renderRow(row, index) {
  const id = rowId(row, index);
  const item = element("li", { "data-kind": row.kind, "data-key": row.key || undefined });
  switch (row.kind) {
  case "switch": {
    const input = element("input", { type: "checkbox", role: "switch", id, onchange: () => changeSetting(row.key, input.checked) });
    input.checked = row.value === true;
    item.append(element("label", { class: "name", for: id, text: row.label }), input);
    break;
  }
  case "slider": {
    const step = row.step || "any";
    const input = element("input", { type: "range", id, min: row.min, max: row.max, step });
    input.value = row.value ?? row.min;
    const output = element("output", { for: id, text: row.display || input.value });
    input.setAttribute("aria-valuetext", output.textContent);
    input.addEventListener("input", () => { output.textContent = input.value; input.setAttribute("aria-valuetext", input.value); });
    input.addEventListener("change", () => changeSetting(row.key, Number(input.value)));
    item.append(element("label", { class: "name", for: id, text: row.label }), input, output);
    break;
  }
  case "segment": {
    const group = element("fieldset", { class: "segmented", id }, [element("legend", { text: row.label })]);
    row.choices.forEach((choice, position) => {
      const radio = element("input", { type: "radio", name: id, value: String(position) });
      radio.checked = JSON.stringify(choice.value) === JSON.stringify(row.value);
      radio.addEventListener("change", () => changeSetting(row.key, choice.value));
      group.append(element("label", {}, [radio, " " + choice.title]));
    });
    item.append(group);
    break;
  }
  case "list": {
    const select = element("select", { id });
    row.choices.forEach((choice, position) => {
      const option = element("option", { value: String(position), text: choice.title });
      option.selected = JSON.stringify(choice.value) === JSON.stringify(row.value);
      select.append(option);
    });
    select.addEventListener("change", () => changeSetting(row.key, row.choices[Number(select.value)].value));
    item.append(element("label", { class: "name", for: id, text: row.label }), select);
    break;
  }
  case "text": {
    const input = element("input", { type: "text", id, maxlength: 1000 });
    input.value = row.value ?? "";
    input.addEventListener("change", () => changeSetting(row.key, input.value));
    item.append(element("label", { class: "name", for: id, text: row.label }), input);
    break;
  }
  case "colour": {
    const hex = row.colour ? row.colour.slice(0, 7).toLowerCase() : "";
    const picker = element("input", { type: "color", id, "aria-label": row.label + ", colour picker" });
    picker.value = hex || "#000000";
    const textField = element("input", { type: "text", id: id + "-text", pattern: "#[0-9A-Fa-f]{6}", placeholder: "none", "aria-label": row.label + ", as #RRGGBB" });
    textField.value = hex;
    picker.addEventListener("change", () => changeSetting(row.key, picker.value));
    textField.addEventListener("change", () => {
      if (!/^#[0-9A-Fa-f]{6}$/.test(textField.value)) {
        textField.setAttribute("aria-invalid", "true");
        say(`"${row.label}" takes a colour such as #ff3b30`, true);
        return;
      }
      changeSetting(row.key, textField.value);
    });
    item.classList.add("colour");
    item.append(element("label", { class: "name", for: id, text: row.label }), picker, textField);
    break;
  }
  case "button":
    item.append(element("button", { type: "button", class: "row-button", id, text: row.label,
      onclick: () => send("/api/tap", { page: pagePath(), label: row.label }) }));
    break;
  case "link":
    item.append(element("a", { class: "link", id, href: "#/" + encodeURIComponent(row.page).replace(/%2F/g, "/"), text: row.label }));
    break;
  default:
    item.append(element("span", { class: "name", text: row.label }), element("span", { id: id + "-display", text: row.display || "" }));
  }
  return item;
}

// What a page is made of, values aside: while it stays the same, a new state only moves
// the controls, so nothing a person is holding or reading is rebuilt under them.
function shapeOf(page) {
  return JSON.stringify([page.path, page.title, page.barButton, page.groups.map((group) => [group.header, group.footer,
    group.rows.map((row) => [row.kind, row.label, row.key, row.choices, row.min, row.max, row.step])])]);
}

function sameChoice(choice, value) {
  return JSON.stringify(choice.value) === JSON.stringify(value);
}

function updateRow(row, index) {
  const id = rowId(row, index);
  const control = $(id);
  if (!control || control === document.activeElement) return;
  switch (row.kind) {
  case "switch":
    control.checked = row.value === true;
    break;
  case "slider":
    control.value = row.value ?? row.min;
    control.setAttribute("aria-valuetext", row.display || control.value);
    control.parentElement.querySelector("output").textContent = row.display || control.value;
    break;
  case "segment":
    control.querySelectorAll("input").forEach((radio, position) => { radio.checked = sameChoice(row.choices[position], row.value); });
    break;
  case "list":
    control.querySelectorAll("option").forEach((option, position) => { option.selected = sameChoice(row.choices[position], row.value); });
    break;
  case "text":
    control.value = row.value ?? "";
    break;
  case "colour": {
    const hex = row.colour ? row.colour.slice(0, 7).toLowerCase() : "";
    control.value = hex || "#000000";
    const textField = $(id + "-text");
    if (textField !== document.activeElement) {
      textField.value = hex;
      textField.removeAttribute("aria-invalid");
    }
    break;
  }
  default:
    if ($(id + "-display")) $(id + "-display").textContent = row.display || "";
  }
}

function renderPage() {
  const pages = view.state.pages;
  const page = pages.find((candidate) => candidate.path === pagePath()) || pages[0];
  const rendered = JSON.stringify(page);
  if (rendered === view.renderedPage) return;
  view.renderedPage = rendered;
  const shape = shapeOf(page);
  if (shape === view.renderedShape) {
    page.groups.forEach((group) => group.rows.forEach(updateRow));
    return;
  }
  view.renderedShape = shape;
  const focused = document.activeElement && document.activeElement.id;
  $("settings-title").textContent = page.title || "Settings";
  $("back").hidden = page.path === "";
  const barButton = $("bar-button");
  barButton.hidden = !page.barButton;
  barButton.textContent = page.barButton || "";
  const container = $("page");
  container.replaceChildren();
  page.groups.forEach((group, groupIndex) => {
    const headingId = "group-" + groupIndex;
    const section = element("section", { class: "group", "aria-labelledby": group.header ? headingId : undefined });
    if (group.header) section.append(element("h3", { id: headingId, text: group.header }));
    section.append(element("ul", { class: "rows" }, group.rows.map(renderRow)));
    if (group.footer) section.append(element("p", { class: "footer", text: group.footer }));
    container.append(section);
  });
  if (focused && $(focused)) $(focused).focus();
}

function renderAlert() {
  const dialog = $("alert");
  const alert = view.state.alert;
  if (!alert) {
    if (dialog.open) dialog.close();
    return;
  }
  $("alert-title").textContent = alert.title;
  $("alert-message").textContent = alert.message;
  $("alert-actions").replaceChildren(...alert.actions.map((action) => element("button", {
    type: "button",
    class: action.style === 2 ? "destructive" : undefined,
    text: action.title,
    onclick: () => send("/api/alert", { button: action.title }),
  })));
  if (!dialog.open) dialog.showModal();
}

function renderHome() {
  const home = view.state.home;
  for (const radio of document.querySelectorAll("input[name=appearance]")) radio.checked = radio.value === home.appearance;
  const select = $("publish-app");
  if (select.options.length !== view.state.apps.length) {
    select.replaceChildren(...view.state.apps.map((app) => element("option", { value: app.id, text: app.name })));
  }
  if (view.state.screen !== view.screen) {
    view.screen = view.state.screen;
    const screen = $("screen");
    screen.src = "/api/screen.png?v=" + view.screen;
    screen.dataset.screen = String(view.screen);
    $("screen-caption").textContent = `Live home screen, picture ${view.screen}`;
  }
}

async function load() {
  const response = await fetch("/api/state");
  view.state = await response.json();
  view.version = view.state.version;
  renderPage();
  renderAlert();
  renderHome();
  document.body.dataset.version = String(view.version);
}

async function follow() {
  for (;;) {
    try {
      const response = await fetch("/api/events?since=" + view.version);
      if (!response.ok) throw new Error(String(response.status));
      const news = await response.json();
      if (news.version !== view.version) await load();
    } catch (error) {
      say("The preview does not answer; trying again…", true);
      await new Promise((resolve) => setTimeout(resolve, 1000));
    }
  }
}

function home(action, fields = {}) {
  say("Sent to the home screen…");
  return send("/api/home", { action, ...fields });
}

function showPane(name) {
  document.body.classList.toggle("show-lockscreen", name === "lockscreen");
  $("show-settings").setAttribute("aria-pressed", String(name !== "lockscreen"));
  $("show-lockscreen").setAttribute("aria-pressed", String(name === "lockscreen"));
}

window.addEventListener("DOMContentLoaded", async () => {
  $("back").addEventListener("click", () => {
    const path = pagePath();
    location.hash = "#/" + path.slice(0, Math.max(0, path.lastIndexOf("/")));
  });
  $("bar-button").addEventListener("click", () => send("/api/tap", { page: pagePath(), label: $("bar-button").textContent }));
  $("show-settings").addEventListener("click", () => showPane("settings"));
  $("show-lockscreen").addEventListener("click", () => showPane("lockscreen"));
  for (const radio of document.querySelectorAll("input[name=appearance]")) {
    radio.addEventListener("change", () => home("appearance", { value: radio.value }));
  }
  $("publish").addEventListener("submit", (event) => {
    event.preventDefault();
    home("publish", { app: $("publish-app").value, title: $("publish-title").value, message: $("publish-message").value });
  });
  for (const button of document.querySelectorAll("[data-home]")) {
    const action = button.dataset.home;
    const fields = action === "playMedia" ? { title: "Golden Hour", artist: "The Sunsets" } : {};
    button.addEventListener("click", () => home(action, fields));
  }
  // An alert is answered with one of its buttons, as on the phone: Escape does not dismiss it.
  $("alert").addEventListener("cancel", (event) => event.preventDefault());
  window.addEventListener("hashchange", () => { view.renderedPage = ""; view.renderedShape = ""; renderPage(); });
  await load();
  say("Connected to the live home screen.");
  follow();
});
