// The page's own texts, in each language the picture knows, and the language shown: the
// address's (?lang=en), French otherwise, until a language button changes it.
import { web } from "./program.mjs";

export const T = {
  fr: {
    title: "KORVELINE : moteur asynchrone triphasé",
    intro: "Simulation interactive d'un moteur asynchrone triphasé : champ tournant, forces de Laplace, couple et vitesse.",
    toolbar: "Barre d'outils", look: "Aspect",
    looks: { "default": "d'origine", "colour-vision": "vision des couleurs", projector: "projecteur" },
    picture: "Coupe d'un moteur asynchrone triphasé et sa courbe couple-vitesse",
    description: "L'image montre la coupe d'un moteur asynchrone triphasé : trois bobines (à gauche, en haut à droite, en bas à droite) autour du rotor, l'interrupteur ALIM en haut à gauche, le frein sous le moteur et, à droite, la courbe du couple en fonction de la vitesse. Les boutons ci-dessus font les mêmes actions que les clics sur l'image.",
    controls: "Commandes de l'image", alim: "ALIM (alimentation)", coil1: "Bobine de gauche",
    coil2: "Bobine en haut à droite", coil3: "Bobine en bas à droite", rotor: "Rotor (champ tournant et forces)",
    raz: "R à Z (effacer la courbe)", brake: "Frein", brakeMinus: "Diminuer le frein de 0,5",
    brakePlus: "Augmenter le frein de 0,5",
    lab: "Laboratoire", copyLink: "Copier le lien", link: "Lien qui reproduit ces réglages",
    copied: "Lien copié.",
    unknownName: (n, v) => `Adresse : « ${n} » n'est pas un réglage connu ; « ${n}=${v} » est ignoré.`,
    badValue: (label, n, v, allowed) => `Adresse : « ${n}=${v} » refusé (${label} : ${allowed}) ; le réglage reste à sa valeur par défaut.`,
    badField: (label, allowed) => `${label} : valeur refusée (${allowed}) ; le réglage est inchangé.`,
    range: (min, max) => `de ${min} à ${max}`, brakeSteps: "de 0 à 100 par pas de 0,5 (jusqu'à -100 pour une charge entraînante)", oneOf: list => `l'une de ${list}`,
    supplyOn: "Alimentation sous tension.", supplyOff: "Alimentation hors tension.",
    shown: "affiché", hidden: "masqué", fieldOf: { coil1: "Champ de la bobine de gauche", coil2: "Champ de la bobine en haut à droite",
      coil3: "Champ de la bobine en bas à droite", rotor: "Champ tournant et forces sur le rotor" },
    brakeIs: v => `Couple résistant : ${v}.`, cleared: "Courbe effacée.",
    motion: (share, slip, settled) => `Rotor à ${share} % de la vitesse de synchronisme, glissement ${slip} %, ${settled ? "régime permanent atteint" : "vitesse en évolution"}.`,
    helpTitle: "Mode d'emploi",
    help1: "Clic gauche (ou toucher) : ALIM met sous tension, une bobine montre son champ, le rotor montre le champ tournant et les forces, Frein ajoute 0,5 au couple, R à Z efface la courbe. Les boutons « Commandes de l'image » font les mêmes actions.",
    help2: "Clic droit (ou appui long, l'anneau se remplit) : l'inverse des quatre premiers.",
    help3: "FR / EN : la langue de la page et de l'image, sans interrompre la simulation. Le zoom du navigateur agrandit aussi l'image. Le lien du Laboratoire reproduit les réglages.",
    singleKeys: "Raccourcis d'une seule touche (Espace, I, M, L, A, +, −…) sur l'image ; décochés, seuls Ctrl, F1, F2, F11, F12, Tab, Entrée, Échap et les flèches restent",
    loading: "chargement…", decimal: ",", colon: " : ",
  },
  en: {
    title: "KORVELINE: three-phase induction motor",
    intro: "An interactive simulation of a three-phase induction motor: rotating field, Laplace forces, torque and speed.",
    toolbar: "Toolbar", look: "Look",
    looks: { "default": "original", "colour-vision": "colour vision", projector: "projector" },
    picture: "Cross-section of a three-phase induction motor and its torque-speed plot",
    description: "The picture shows a cross-section of a three-phase induction motor: three coils (left, upper right, lower right) around the rotor, the Mains supply switch at the top left, the brake below the motor and, on the right, the plot of torque against speed. The buttons above do what clicks on the picture do.",
    controls: "Picture controls", alim: "Mains (supply)", coil1: "Left coil",
    coil2: "Upper right coil", coil3: "Lower right coil", rotor: "Rotor (rotating field and forces)",
    raz: "Reset (clear the plot)", brake: "Brake", brakeMinus: "Lower the brake by 0.5",
    brakePlus: "Raise the brake by 0.5",
    lab: "Lab", copyLink: "Copy link", link: "Link that reproduces these settings",
    copied: "Link copied.",
    unknownName: (n, v) => `Address: "${n}" is not a known setting; "${n}=${v}" is ignored.`,
    badValue: (label, n, v, allowed) => `Address: "${n}=${v}" refused (${label}: ${allowed}); the setting stays at its default.`,
    badField: (label, allowed) => `${label}: value refused (${allowed}); the setting is unchanged.`,
    range: (min, max) => `from ${min} to ${max}`, brakeSteps: "from 0 to 100 in steps of 0.5 (down to -100 for a driving load)", oneOf: list => `one of ${list}`,
    supplyOn: "Supply on.", supplyOff: "Supply off.",
    shown: "shown", hidden: "hidden", fieldOf: { coil1: "Field of the left coil", coil2: "Field of the upper right coil",
      coil3: "Field of the lower right coil", rotor: "Rotating field and forces on the rotor" },
    brakeIs: v => `Brake at ${v}.`, cleared: "Plot cleared.",
    motion: (share, slip, settled) => `Rotor at ${share} % of synchronous speed, slip ${slip} %, ${settled ? "steady state reached" : "speed still changing"}.`,
    helpTitle: "How to use",
    help1: "Left click (or tap): Mains switches the supply on, a coil shows its field, the rotor shows the rotating field and the forces, Brake adds 0.5 to the brake torque, Reset clears the plot. The \"Picture controls\" buttons do the same.",
    help2: "Right click (or long press, the ring fills): the reverse of the first four.",
    help3: "FR / EN: the language of the page and the picture, without stopping the run. The browser's zoom enlarges the picture too. The Lab's link reproduces the settings.",
    singleKeys: "Single-key shortcuts (Space, I, M, L, A, +, −…) on the picture; unticked, only Ctrl, F1, F2, F11, F12, Tab, Enter, Esc and the arrows remain",
    loading: "loading…", decimal: ".", colon: ": ",
  },
};
web.language = new URLSearchParams(location.search).get("lang") === "en" ? "en" : "fr";

// The texts of the language shown.
export const texts = () => T[web.language];
// The language shown as an index into the program's pairs of texts [French, English].
export const lang = () => web.language === "en" ? 1 : 0;
export const number = (v, decimals) => v.toFixed(decimals).replace(".", texts().decimal);
export const sentence = s => s.charAt(0).toUpperCase() + s.slice(1);
